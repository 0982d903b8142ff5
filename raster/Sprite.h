#pragma once

#include "math/Vec3.h"

namespace zov {

class Bitmap;

// A screen-aligned image at a 3D point, drawn additively by drawSprite.
struct Sprite {
    // Only images 256 or 64 pixels wide are drawn.
    const Bitmap* image = nullptr;
    // World-space width (x) and height (y); z is not read.
    Vec3 size;
    // Camera-space centre; z is the depth, positive ahead.
    Vec3 position;
};

} // namespace zov
