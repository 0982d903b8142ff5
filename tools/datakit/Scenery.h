#pragma once

#include "tools/datakit/Canvas.h"

#include <cstdint>

namespace zov::kit {

// Pieces the backgrounds share.

// Vertical ramp through three colours, the middle one at row `midY`.
void paintSky(Canvas& canvas, Rgb top, Rgb middle, Rgb bottom, float midY);
// Points of light; `density` per pixel, fading out below row `fadeY`.
void addStars(Canvas& canvas, std::uint32_t seed, float density, float brightness, float fadeY);
// A row of fir silhouettes whose feet stand on row baseY; trees between
// minHeight and maxHeight tall, about `spacing` apart.
Mask pineLayer(int width, int height, float baseY, float minHeight, float maxHeight, float spacing,
               std::uint32_t seed);
// A hill or mountain silhouette around row `y` with the given amplitude.
Mask ridgeLayer(int width, int height, float y, float amplitude, float scale, std::uint32_t seed);
// A soft round light added at (cx, cy).
void addGlow(Canvas& canvas, float cx, float cy, float radius, Rgb colour);
// Darkens towards the corners; strength 0..1.
void vignette(Canvas& canvas, float strength);

} // namespace zov::kit
