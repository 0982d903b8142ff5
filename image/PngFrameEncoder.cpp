#include "image/PngFrameEncoder.h"

#include "image/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace zov {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kFilterUp = 2;
// Signature, IHDR, the IDAT frame and IEND.
constexpr std::size_t kFileOverhead = 8 + 25 + 12 + 12;

} // namespace

PngFrameEncoder::PngFrameEncoder(int width, int height, int zlibLevel)
    : width_(std::max(width, 0)), height_(std::max(height, 0))
{
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    row_.resize(rowBytes + 1);
    previous_.resize(rowBytes);
    current_.resize(rowBytes);
    if (width_ == 0 || height_ == 0)
        return;
    // Runs only: after the up filter the show's frames are mostly runs, and
    // zlib finds them several times faster than with its string matching.
    if (deflateInit2(&zlib_, std::clamp(zlibLevel, 0, 9), Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        return;
    ready_ = true;
    const uLong raw = static_cast<uLong>((rowBytes + 1) * static_cast<std::size_t>(height_));
    out_.resize(deflateBound(&zlib_, raw) + kFileOverhead);
}

PngFrameEncoder::~PngFrameEncoder()
{
    if (ready_)
        deflateEnd(&zlib_);
}

void PngFrameEncoder::put32(std::uint32_t value)
{
    out_[used_++] = static_cast<std::uint8_t>(value >> 24);
    out_[used_++] = static_cast<std::uint8_t>(value >> 16);
    out_[used_++] = static_cast<std::uint8_t>(value >> 8);
    out_[used_++] = static_cast<std::uint8_t>(value);
}

void PngFrameEncoder::beginChunk(const char* type)
{
    used_ += 4; // the length, known at endChunk
    std::memcpy(&out_[used_], type, 4);
    used_ += 4;
}

void PngFrameEncoder::endChunk(std::size_t dataStart)
{
    const auto length = static_cast<std::uint32_t>(used_ - dataStart);
    const std::size_t end = used_;
    used_ = dataStart - 8;
    put32(length);
    used_ = end;
    // The CRC covers the type and the data.
    const uLong crc = crc32(0, &out_[dataStart - 4], static_cast<uInt>(length + 4));
    put32(static_cast<std::uint32_t>(crc));
}

std::span<const std::uint8_t> PngFrameEncoder::encode(const Bitmap& bitmap)
{
    if (!ready_ || !bitmap.hasStorage() || bitmap.width() != width_ || bitmap.height() != height_)
        return {};
    used_ = 0;
    std::memcpy(out_.data(), kSignature, sizeof kSignature);
    used_ = sizeof kSignature;

    beginChunk("IHDR");
    std::size_t start = used_;
    put32(static_cast<std::uint32_t>(width_));
    put32(static_cast<std::uint32_t>(height_));
    const std::uint8_t depthAndKind[5] = {8, 2, 0, 0, 0}; // 8 bits, RGB, deflate, adaptive filters, no interlace
    std::memcpy(&out_[used_], depthAndKind, 5);
    used_ += 5;
    endChunk(start);

    beginChunk("IDAT");
    start = used_;
    if (deflateReset(&zlib_) != Z_OK)
        return {};
    zlib_.next_out = &out_[used_];
    zlib_.avail_out = static_cast<uInt>(out_.size() - used_ - 12);
    std::fill(previous_.begin(), previous_.end(), std::uint8_t{0});
    row_[0] = kFilterUp;
    const std::size_t rowBytes = current_.size();
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = bitmap.row(y);
        std::uint8_t* rgb = current_.data();
        for (int x = 0; x < width_; ++x) {
            rgb[3 * x] = static_cast<std::uint8_t>(src[x] >> 16);
            rgb[3 * x + 1] = static_cast<std::uint8_t>(src[x] >> 8);
            rgb[3 * x + 2] = static_cast<std::uint8_t>(src[x]);
        }
        for (std::size_t i = 0; i < rowBytes; ++i)
            row_[i + 1] = static_cast<std::uint8_t>(rgb[i] - previous_[i]);
        current_.swap(previous_);
        zlib_.next_in = row_.data();
        zlib_.avail_in = static_cast<uInt>(row_.size());
        const int flush = y + 1 == height_ ? Z_FINISH : Z_NO_FLUSH;
        const int result = deflate(&zlib_, flush);
        if (result != (flush == Z_FINISH ? Z_STREAM_END : Z_OK) || zlib_.avail_in != 0)
            return {};
    }
    used_ = out_.size() - 12 - zlib_.avail_out;
    endChunk(start);

    beginChunk("IEND");
    endChunk(used_);
    return {out_.data(), used_};
}

} // namespace zov
