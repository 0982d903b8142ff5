#pragma once

#include <cstdint>

namespace zov {

class Bitmap;

// The in-place blurs of the trail effects. One pass walks rows 1 to H - 2 in
// memory order, so the pixel above and the one before are already blurred
// while those below and after are not; the "before" of a row's first pixel is
// the last pixel of the row above. When a row is done its first pixel becomes
// 0. Rows 0 and H - 1 are not touched. Per channel, bytes never carry.
//
// Three neighbours (the grid's trails, drifting down and right):
//   p = (up >> 2 & 0x3f3f3f3f) + (down >> 2 & 0x3f3f3f3f) + (before >> 1 & 0x7f7f7f7f)
// Four neighbours (the object's trails):
//   p = sum of (n >> 2 & 0x3f3f3f3f) over up, down, before and after, where
//   "after" of a row's last pixel is the first pixel of the row below.
void feedbackBlur(Bitmap& bitmap);
void feedbackBlur4(Bitmap& bitmap);

// The plain loops the faster routines above must equal byte for byte.
namespace blurref {
void threeNeighbour(std::uint32_t* pixels, int width, int height);
void fourNeighbour(std::uint32_t* pixels, int width, int height);
} // namespace blurref

} // namespace zov
