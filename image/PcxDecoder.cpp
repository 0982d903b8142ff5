#include "image/PcxDecoder.h"

#include "image/Bitmap.h"

#include <algorithm>
#include <cstdio>
#include <memory>
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

// next() gives the next byte, or -1 at the end of the data.
template <typename NextByte>
PcxDecodeResult unpack(NextByte next, Planes& planes)
{
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
            if (stored == total)
                return PcxDecodeResult::Incomplete;
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

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

PcxDecodeResult decodePcxFile(const char* path, Bitmap& target, int fileWidth, int fileHeight, bool scale)
{
    std::unique_ptr<std::FILE, FileCloser> file(path ? std::fopen(path, "rb") : nullptr);
    if (!file)
        return PcxDecodeResult::NotOpened;
    Planes planes(fileWidth, fileHeight);
    PcxDecodeResult result = PcxDecodeResult::Incomplete;
    if (std::fseek(file.get(), kHeaderBytes, SEEK_SET) == 0)
        result = unpack([f = file.get()] { return std::getc(f); }, planes);
    convert(planes, target, scale);
    return result;
}

PcxDecodeResult decodePcxBytes(const std::uint8_t* bytes, std::size_t size, Bitmap& target, int fileWidth,
                               int fileHeight, bool scale)
{
    Planes planes(fileWidth, fileHeight);
    std::size_t at = static_cast<std::size_t>(kHeaderBytes);
    const PcxDecodeResult result = unpack([&] { return at < size ? int{bytes[at++]} : -1; }, planes);
    convert(planes, target, scale);
    return result;
}

} // namespace zov
