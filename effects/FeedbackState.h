#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;

// A feedback bitmap as words of a part's carried state: its width, its
// height, then its pixels; none (0 x 0) before it exists.
std::size_t bitmapStateWords(const Bitmap* bitmap);
void saveBitmapState(const Bitmap* bitmap, std::uint32_t*& out);
// Brings the bitmap back, made at the kept size when it differs; a kept
// 0 x 0 clears one that exists.
void loadBitmapState(std::unique_ptr<Bitmap>& bitmap, const std::uint32_t*& in);

} // namespace zov
