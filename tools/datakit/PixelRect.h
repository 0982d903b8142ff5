#pragma once

#include <cstdint>

namespace zov {

class Bitmap;

// A read-only view of packed 0x00RRGGBB pixels, rows top to bottom. The
// writers take it so that the kit can hand over its own pixel buffers
// without going through a Bitmap.
struct PixelRect {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    const std::uint32_t* row(int y) const { return pixels + static_cast<long>(y) * width; }
    bool valid() const { return pixels != nullptr && width > 0 && height > 0; }
};

PixelRect pixelRectOf(const Bitmap& bitmap);

} // namespace zov
