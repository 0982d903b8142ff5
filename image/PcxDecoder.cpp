#include "image/PcxDecoder.h"

#include "image/Bitmap.h"
#include "image/Diagnostics.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zov {

namespace {

constexpr long kHeaderBytes = 128;

// Three planes of w x h bytes (red, green, blue); byte (plane, row, x) is at
// plane * w * h + row * w + x.
struct Planes {
    std::vector<std::uint8_t> bytes;
    std::size_t planeSize = 0;
    int width = 0;
    int height = 0;

    Planes(int w, int h)
        : planeSize(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0))),
          width(std::max(w, 0)), height(std::max(h, 0))
    {
        bytes.assign(planeSize * 3, 0);
    }

    std::uint32_t pixel(int x, int y) const
    {
        const std::size_t at = static_cast<std::size_t>(y) * width + x;
        return (std::uint32_t{bytes[at]} << 16) | (std::uint32_t{bytes[planeSize + at]} << 8) |
               bytes[2 * planeSize + at];
    }
};

// next() gives the next byte, or -1 at the end of the data. overran tells
// an incomplete result that ran past the last scanline from one cut short.
template <typename NextByte>
PcxDecodeResult unpack(NextByte next, Planes& planes, bool& overran)
{
    overran = false;
    const std::size_t total = planes.bytes.size();
    std::size_t stored = 0;
    int plane = 0, row = 0, x = 0;
    while (stored < total) {
        const int b = next();
        if (b < 0)
            return PcxDecodeResult::Incomplete;
        int count = 1;
        int value = b;
        if ((b & 0xC0) == 0xC0) {
            count = b & 0x3F; // 0 stores nothing but still takes the value byte
            value = next();
            if (value < 0)
                return PcxDecodeResult::Incomplete;
        }
        for (int i = 0; i < count; ++i) {
            // A run longer than what is left would go past the last scanline.
            if (stored == total) {
                overran = true;
                return PcxDecodeResult::Incomplete;
            }
            planes.bytes[plane * planes.planeSize + static_cast<std::size_t>(row) * planes.width + x] =
                static_cast<std::uint8_t>(value);
            ++stored;
            if (++x == planes.width) {
                x = 0;
                if (++plane == 3) {
                    plane = 0;
                    ++row;
                }
            }
        }
    }
    return PcxDecodeResult::Complete;
}

void convert(const Planes& planes, Bitmap& target, bool scale)
{
    const int w = planes.width;
    const int h = planes.height;
    if (!target.hasStorage() || w <= 0 || h <= 0)
        return;
    const int tw = target.width();
    const int th = target.height();
    if (!scale) {
        for (int y = 0; y < std::min(h, th); ++y)
            for (int x = 0; x < std::min(w, tw); ++x)
                target.row(y)[x] = planes.pixel(x, y);
        return;
    }
    const float xRatio = static_cast<float>(w) / static_cast<float>(tw);
    const float yRatio = static_cast<float>(h) / static_cast<float>(th);
    for (int y = 0; y < th; ++y) {
        const int sy = std::min(static_cast<int>(static_cast<float>(y) * yRatio), h - 1);
        for (int x = 0; x < tw; ++x) {
            const int sx = std::min(static_cast<int>(static_cast<float>(x) * xRatio), w - 1);
            target.row(y)[x] = planes.pixel(sx, sy);
        }
    }
}

int read16(const std::uint8_t* at)
{
    return at[0] | (at[1] << 8);
}

// What the header says against what the caller states; the decoder itself
// never reads it, so this only explains a picture that comes out wrong.
std::string headerProblem(const std::uint8_t* bytes, std::size_t size, int fileWidth, int fileHeight)
{
    if (size == 0)
        return "empty file";
    if (size < static_cast<std::size_t>(kHeaderBytes))
        return "cut short: " + std::to_string(size) + " bytes, less than the 128-byte header";
    if (bytes[0] != 0x0A || bytes[2] != 1)
        return "not a PCX file";
    if (bytes[3] != 8 || bytes[65] != 3)
        return "not a 24-bit PCX picture (" + std::to_string(bytes[65]) + " planes of " + std::to_string(bytes[3]) +
               " bits), read as one anyway";
    const int width = read16(bytes + 8) - read16(bytes + 4) + 1;
    const int height = read16(bytes + 10) - read16(bytes + 6) + 1;
    if (width != fileWidth || height != fileHeight)
        return "the header says " + std::to_string(width) + "x" + std::to_string(height) + ", read as " +
               std::to_string(fileWidth) + "x" + std::to_string(fileHeight);
    return {};
}

PcxDecodeResult decodeReporting(const std::uint8_t* bytes, std::size_t size, Bitmap& target, int fileWidth,
                                int fileHeight, bool scale, const char* name)
{
    Planes planes(fileWidth, fileHeight);
    std::size_t at = static_cast<std::size_t>(kHeaderBytes);
    bool overran = false;
    const PcxDecodeResult result = unpack([&] { return at < size ? int{bytes[at++]} : -1; }, planes, overran);
    convert(planes, target, scale);
    if (!name)
        return result;
    // One line a file: the header's problem explains the data's.
    std::string problem = headerProblem(bytes, size, fileWidth, fileHeight);
    if (problem.empty() && result == PcxDecodeResult::Incomplete)
        problem = overran ? "the picture data runs past its last row" : "cut short: the picture data ends early";
    if (!problem.empty())
        reportFileProblem(name, problem);
    return result;
}

} // namespace

PcxDecodeResult decodePcxFile(const char* path, Bitmap& target, int fileWidth, int fileHeight, bool scale)
{
    std::string reason;
    const auto bytes = readWholeFile(path, reason);
    if (!bytes) {
        reportFileProblem(path ? path : "(null)", reason);
        return PcxDecodeResult::NotOpened;
    }
    return decodeReporting(bytes->data(), bytes->size(), target, fileWidth, fileHeight, scale, path);
}

PcxDecodeResult decodePcxBytes(const std::uint8_t* bytes, std::size_t size, Bitmap& target, int fileWidth,
                               int fileHeight, bool scale, const char* name)
{
    if (!bytes)
        size = 0;
    return decodeReporting(bytes, size, target, fileWidth, fileHeight, scale, name);
}

} // namespace zov
