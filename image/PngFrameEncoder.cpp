#include "image/PngFrameEncoder.h"

#include "image/Bitmap.h"
#include "image/FastDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace zov {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kFilterUp = 2;
// Signature, IHDR, the IDAT frame and IEND.
constexpr std::size_t kFileOverhead = 8 + 25 + 12 + 12;

} // namespace

PngFrameEncoder::PngFrameEncoder(int width, int height) : width_(std::max(width, 0)), height_(std::max(height, 0))
{
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    filtered_.resize((rowBytes + 1) * static_cast<std::size_t>(height_));
    previous_.resize(rowBytes);
    current_.resize(rowBytes);
    out_.resize(fastDeflateBound(filtered_.size()) + kFileOverhead);
}

PngFrameEncoder::~PngFrameEncoder() = default;

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
    if (width_ == 0 || height_ == 0 || !bitmap.hasStorage() || bitmap.width() != width_ ||
        bitmap.height() != height_)
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

    std::fill(previous_.begin(), previous_.end(), std::uint8_t{0});
    const std::size_t rowBytes = current_.size();
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = bitmap.row(y);
        std::uint8_t* rgb = current_.data();
        for (int x = 0; x < width_; ++x) {
            rgb[3 * x] = static_cast<std::uint8_t>(src[x] >> 16);
            rgb[3 * x + 1] = static_cast<std::uint8_t>(src[x] >> 8);
            rgb[3 * x + 2] = static_cast<std::uint8_t>(src[x]);
        }
        std::uint8_t* row = &filtered_[static_cast<std::size_t>(y) * (rowBytes + 1)];
        row[0] = kFilterUp;
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[i + 1] = static_cast<std::uint8_t>(rgb[i] - previous_[i]);
        current_.swap(previous_);
    }
    beginChunk("IDAT");
    start = used_;
    used_ += fastDeflate(filtered_, &out_[used_]);
    endChunk(start);

    beginChunk("IEND");
    endChunk(used_);
    return {out_.data(), used_};
}

} // namespace zov
