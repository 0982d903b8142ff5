#pragma once

#include <array>
#include <cstdint>

namespace zov::kit {

// The kit's own 8x8 font: one glyph for every character code 31..127. Row r
// of a glyph is a byte whose bit 7 is the leftmost pixel. Bold strokes, caps
// on rows 0..6, descenders on row 7.
constexpr int kFirstGlyph = 31;
constexpr int kLastGlyph = 127;

using Glyph = std::array<std::uint8_t, 8>;

// The glyph of code c; codes outside 31..127 get the glyph of '?'.
const Glyph& glyph(int c);
bool glyphPixel(int c, int x, int y);
// First and last column with ink, or (0, -1) for an empty glyph.
int glyphInkLeft(int c);
int glyphInkRight(int c);

} // namespace zov::kit
