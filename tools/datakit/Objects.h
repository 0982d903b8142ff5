#pragma once

#include "tools/datakit/LwoWriter.h"

namespace zov::kit {

// Every polygon is a triangle wound so that, seen from outside, its corners
// A, B, C give (B - A) x (C - B) pointing out of the solid: the show's flat
// lighting, vertex normals and back-face test all read that orientation.

// A five-pointed star, thick in the middle and thin at the tips, for the
// environment map (the show replaces its surface).
LwoObject makeStar();

// The image the cube's emblem faces name in their TIMG.
constexpr const char* kCubeFaceImage = "data/kubface.jpg";

// A cube 8 units wide: four flat-coloured sides, and front and back faces
// with a planar image map along z.
LwoObject makeCube();

} // namespace zov::kit
