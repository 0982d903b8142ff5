#pragma once

#include <cstdint>
#include <vector>

namespace zov::kit {

// 0x00RRGGBB pixels with the show's per-byte operations, for the previews.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Frame() = default;
    Frame(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    Frame(int w, int h, std::vector<std::uint32_t> p) : width(w), height(h), pixels(std::move(p)) {}

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

std::uint32_t addSaturate(std::uint32_t a, std::uint32_t b);
// src added onto dest at (x, y), clipped.
void addAt(const Frame& src, Frame& dest, int x, int y);
// src blended over dest through the blue byte of alpha.
void maskAt(const Frame& src, Frame& dest, int x, int y, const Frame& alpha);
// Wrapping sampled blit, as the scroller and the greetings use it.
void blitScroll(const Frame& src, Frame& dest, int dx, int dy, int sx, int sy, bool additive);
// The trail cube's four-neighbour fading blur, in place.
void blurFour(Frame& f);
// The wire grid's three-term blur, in place.
void blurThree(Frame& f);
// Additive line of integer end points.
void addLine(Frame& f, int x0, int y0, int x1, int y1, std::uint32_t colour);

} // namespace zov::kit
