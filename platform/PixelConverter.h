#pragma once

#include <cstdint>

namespace zov {

class Bitmap;

// Writes count screen pixels converted from count 32-bit frame pixels
// (0x00RRGGBB, byte 3 carried along). dest need not be aligned.
using PixelConverter = void (*)(const std::uint32_t* source, std::uint8_t* dest, int count);

// A screen pixel format as bit count and channel masks of the little-endian
// pixel value.
struct ScreenFormat {
    int bitsPerPixel;
    std::uint32_t redMask;
    std::uint32_t greenMask;
    std::uint32_t blueMask;
};

// The converter for one of the eight supported screen formats, or nullptr.
PixelConverter selectConverter(const ScreenFormat& format);

// Converts every row of frame into dest, whose rows are pitch bytes apart.
void convertRows(const Bitmap& frame, PixelConverter converter, std::uint8_t* dest, int pitch);

} // namespace zov
