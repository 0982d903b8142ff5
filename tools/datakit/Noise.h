#pragma once

#include <cstdint>

namespace zov::kit {

// Integer hashing and gradient noise: the kit's only source of randomness, so
// every run paints the same pixels.
std::uint32_t hash32(std::uint32_t x);
std::uint32_t hash2i(int x, int y, std::uint32_t seed);
// Uniform in [0, 1).
float hash2f(int x, int y, std::uint32_t seed);

// Gradient noise, roughly -1..1.
float noise2(float x, float y, std::uint32_t seed);
// Sum of octaves, each at twice the frequency and half the amplitude; about -1..1.
float fbm2(float x, float y, int octaves, std::uint32_t seed);
// 1 - |noise| summed over octaves: sharp ridges, 0..1.
float ridged2(float x, float y, int octaves, std::uint32_t seed);

// Cellular noise: distance to the second-nearest minus the nearest of a
// jittered grid of points (one per unit cell). 0 on the borders between cells.
float cellBorder2(float x, float y, std::uint32_t seed);

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);
float lerp(float a, float b, float t);

constexpr float kPi = 3.14159265358979f;

} // namespace zov::kit
