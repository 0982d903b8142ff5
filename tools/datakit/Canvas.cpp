#include "tools/datakit/Canvas.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

Rgb hex(std::uint32_t rgb)
{
    return {static_cast<float>((rgb >> 16) & 255) / 255.0f, static_cast<float>((rgb >> 8) & 255) / 255.0f,
            static_cast<float>(rgb & 255) / 255.0f};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

Rgb Canvas::sample(float x, float y) const
{
    x = std::clamp(x, 0.0f, static_cast<float>(width_ - 1));
    y = std::clamp(y, 0.0f, static_cast<float>(height_ - 1));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, width_ - 1);
    const int y1 = std::min(y0 + 1, height_ - 1);
    const float fx = x - static_cast<float>(x0);
    const float fy = y - static_cast<float>(y0);
    return mix(mix(at(x0, y0), at(x1, y0), fx), mix(at(x0, y1), at(x1, y1), fx), fy);
}

void Canvas::blend(int x, int y, Rgb c, float alpha)
{
    if (inside(x, y) && alpha > 0.0f)
        at(x, y) = mix(at(x, y), c, std::min(alpha, 1.0f));
}

void Canvas::add(int x, int y, Rgb c)
{
    if (inside(x, y))
        at(x, y) = at(x, y) + c;
}

void Canvas::fill(Rgb c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Canvas::paste(const Canvas& src, int x, int y)
{
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            if (inside(x + sx, y + sy))
                at(x + sx, y + sy) = src.at(sx, sy);
}

namespace {

std::uint32_t quantise(float v)
{
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

} // namespace

std::vector<std::uint32_t> Canvas::toPixels() const
{
    std::vector<std::uint32_t> out(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i)
        out[i] = quantise(pixels_[i].r) << 16 | quantise(pixels_[i].g) << 8 | quantise(pixels_[i].b);
    return out;
}

Mask::Mask(int width, int height, float fill)
    : width_(width), height_(height), values_(static_cast<std::size_t>(width) * height, fill)
{
}

float Mask::sample(float x, float y) const
{
    const float fx0 = std::floor(x);
    const float fy0 = std::floor(y);
    const int x0 = static_cast<int>(fx0);
    const int y0 = static_cast<int>(fy0);
    const float fx = x - fx0;
    const float fy = y - fy0;
    const float top = get(x0, y0) + (get(x0 + 1, y0) - get(x0, y0)) * fx;
    const float bottom = get(x0, y0 + 1) + (get(x0 + 1, y0 + 1) - get(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

namespace {

// One box pass along a line of n values spaced by stride; zero beyond the ends.
void boxLine(float* v, int n, std::ptrdiff_t stride, int r, std::vector<float>& tmp)
{
    tmp.assign(static_cast<std::size_t>(n), 0.0f);
    float sum = 0.0f;
    for (int i = 0; i <= std::min(r, n - 1); ++i)
        sum += v[i * stride];
    const float scale = 1.0f / static_cast<float>(2 * r + 1);
    for (int i = 0; i < n; ++i) {
        tmp[static_cast<std::size_t>(i)] = sum * scale;
        if (i + r + 1 < n)
            sum += v[(i + r + 1) * stride];
        if (i - r >= 0)
            sum -= v[(i - r) * stride];
    }
    for (int i = 0; i < n; ++i)
        v[i * stride] = tmp[static_cast<std::size_t>(i)];
}

} // namespace

Mask Mask::blurred(int radius) const
{
    Mask out = *this;
    if (radius <= 0)
        return out;
    std::vector<float> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height_; ++y)
            boxLine(&out.at(0, y), width_, 1, radius, tmp);
        for (int x = 0; x < width_; ++x)
            boxLine(&out.at(x, 0), height_, width_, radius, tmp);
    }
    return out;
}

void Mask::unite(const Mask& other)
{
    for (std::size_t i = 0; i < values_.size(); ++i)
        values_[i] = std::max(values_[i], other.values_[i]);
}

void Mask::subtract(const Mask& other)
{
    for (std::size_t i = 0; i < values_.size(); ++i)
        values_[i] *= 1.0f - std::clamp(other.values_[i], 0.0f, 1.0f);
}

} // namespace zov::kit
