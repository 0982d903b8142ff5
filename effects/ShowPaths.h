#pragma once

#include "effects/Vec3Function.h"

namespace zov {

// The animated vectors the show hands its layers. Each is a pure formula of
// the time, so a layer may call it as often as it likes.

// (t, 0, -t): a slow tumble about two axes, the default rotation of layers
// that have one.
class TumbleRotation final : public Vec3Function {
public:
    Vec3 at(float time) const override { return Vec3(time, 0.0, -time); }
};

// The title line of the first part: enters from the right edge of the screen
// at 71.68 pixels a second, on the row 10 above the middle.
class SlidePath final : public Vec3Function {
public:
    Vec3 at(float time) const override;
};

// The star of the second part: a loop in front of the camera, swinging
// towards and away from it.
class StarOrbit final : public Vec3Function {
public:
    Vec3 at(float time) const override;
};

} // namespace zov
