#include "tools/datakit/Noise.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

std::uint32_t hash32(std::uint32_t x)
{
    // lowbias32 (Chris Wellons): cheap and well mixed.
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

std::uint32_t hash2i(int x, int y, std::uint32_t seed)
{
    return hash32(static_cast<std::uint32_t>(x) * 0x9E3779B1U ^ hash32(static_cast<std::uint32_t>(y) + seed * 0x85EBCA77U));
}

float hash2f(int x, int y, std::uint32_t seed)
{
    return static_cast<float>(hash2i(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

namespace {

float gradientDot(int ix, int iy, float dx, float dy, std::uint32_t seed)
{
    // Eight unit directions, picked by the hash.
    static const float kDirs[8][2] = {{1.0f, 0.0f},     {-1.0f, 0.0f},    {0.0f, 1.0f},      {0.0f, -1.0f},
                                      {0.7071f, 0.7071f}, {-0.7071f, 0.7071f}, {0.7071f, -0.7071f}, {-0.7071f, -0.7071f}};
    const float* d = kDirs[hash2i(ix, iy, seed) & 7];
    return d[0] * dx + d[1] * dy;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

} // namespace

float noise2(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const float n00 = gradientDot(ix, iy, dx, dy, seed);
    const float n10 = gradientDot(ix + 1, iy, dx - 1.0f, dy, seed);
    const float n01 = gradientDot(ix, iy + 1, dx, dy - 1.0f, seed);
    const float n11 = gradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, seed);
    const float u = fade(dx);
    const float v = fade(dy);
    return 1.4f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float fbm2(float x, float y, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float amplitude = 0.5f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise2(x, y, seed + static_cast<std::uint32_t>(i) * 101U);
        norm += amplitude;
        // A slight rotation between octaves hides the lattice.
        const float nx = x * 1.6f - y * 1.2f;
        const float ny = x * 1.2f + y * 1.6f;
        x = nx;
        y = ny;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

float ridged2(float x, float y, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float amplitude = 0.5f;
    float norm = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1.0f - std::fabs(noise2(x, y, seed + static_cast<std::uint32_t>(i) * 131U));
        sum += amplitude * n * n;
        norm += amplitude;
        const float nx = x * 1.6f - y * 1.2f;
        const float ny = x * 1.2f + y * 1.6f;
        x = nx;
        y = ny;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

float cellBorder2(float x, float y, std::uint32_t seed)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    float first = 1e9f, second = 1e9f;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const float px = static_cast<float>(ix + i) + hash2f(ix + i, iy + j, seed);
            const float py = static_cast<float>(iy + j) + hash2f(ix + i, iy + j, seed + 1);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < first) {
                second = first;
                first = d;
            } else if (d < second) {
                second = d;
            }
        }
    return second - first;
}

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float smoothstep(float edge0, float edge1, float v)
{
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float lerp(float a, float b, float t) { return a + (b - a) * t; }

} // namespace zov::kit
