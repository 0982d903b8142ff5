#pragma once

#include <cstdint>
#include <vector>

namespace zov::kit {

// A colour with channels nominally 0..1 (display values, not linear light).
struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
// 0xRRGGBB to a colour.
Rgb hex(std::uint32_t rgb);

// A picture being painted, in floats so that layers can be stacked without
// rounding at every step; quantised once, when written.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // Bilinear, clamped to the edges.
    Rgb sample(float x, float y) const;

    void blend(int x, int y, Rgb c, float alpha);
    void add(int x, int y, Rgb c);
    void fill(Rgb c);
    void paste(const Canvas& src, int x, int y);

    // 0x00RRGGBB words, each channel clamped and rounded to 0..255.
    std::vector<std::uint32_t> toPixels() const;

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// Coverage or height values, nominally 0..1.
class Mask {
public:
    Mask(int width, int height, float fill = 0.0f);

    int width() const { return width_; }
    int height() const { return height_; }
    float& at(int x, int y) { return values_[static_cast<std::size_t>(y) * width_ + x]; }
    float at(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }
    // 0 outside.
    float get(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_ ? at(x, y) : 0.0f; }
    float sample(float x, float y) const;

    // Three box passes each way: close to a gaussian of that radius.
    Mask blurred(int radius) const;
    // max(this, other) per value.
    void unite(const Mask& other);
    // this * (1 - other) per value.
    void subtract(const Mask& other);

private:
    int width_;
    int height_;
    std::vector<float> values_;
};

} // namespace zov::kit
