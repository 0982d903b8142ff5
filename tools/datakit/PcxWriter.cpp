#include "tools/datakit/PcxWriter.h"

#include "tools/datakit/FileBytes.h"

#include "image/Bitmap.h"


namespace zov {

namespace {

void put16(std::vector<std::uint8_t>& out, std::size_t at, int value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void encodeLine(std::vector<std::uint8_t>& out, const std::uint8_t* line, int length)
{
    int i = 0;
    while (i < length) {
        const std::uint8_t value = line[i];
        int run = 1;
        while (i + run < length && run < 63 && line[i + run] == value)
            ++run;
        if (run > 1 || value >= 0xC0) {
            out.push_back(static_cast<std::uint8_t>(0xC0 | run));
            out.push_back(value);
        } else {
            out.push_back(value);
        }
        i += run;
    }
}

} // namespace

std::vector<std::uint8_t> encodePcx(const PixelRect& bitmap)
{
    if (!bitmap.valid())
        return {};
    const int w = bitmap.width;
    const int h = bitmap.height;
    std::vector<std::uint8_t> out(128, 0);
    out[0] = 0x0A; // manufacturer
    out[1] = 5;    // version 3.0 with 24-bit colour
    out[2] = 1;    // run-length coded
    out[3] = 8;    // bits per pixel per plane
    put16(out, 8, w - 1);
    put16(out, 10, h - 1);
    put16(out, 12, 72);
    put16(out, 14, 72);
    out[65] = 3; // planes
    put16(out, 66, w);
    put16(out, 68, 1); // colour palette
    std::vector<std::uint8_t> line(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = bitmap.row(y);
        for (int shift : {16, 8, 0}) {
            for (int x = 0; x < w; ++x)
                line[x] = static_cast<std::uint8_t>(row[x] >> shift);
            encodeLine(out, line.data(), w);
        }
    }
    return out;
}

std::vector<std::uint8_t> encodePcx(const Bitmap& bitmap) { return encodePcx(pixelRectOf(bitmap)); }

bool writePcx(const Bitmap& bitmap, const std::string& path) { return writePcx(pixelRectOf(bitmap), path); }

bool writePcx(const PixelRect& pixels, const std::string& path)
{
    const std::vector<std::uint8_t> bytes = encodePcx(pixels);
    return !bytes.empty() && writeFileBytes(bytes, path);
}

} // namespace zov
