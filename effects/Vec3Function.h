#pragma once

#include "math/Vec3.h"

namespace zov {

// An animated vector: a stateless formula of the time, handed to layers as
// a POSITION or ROTATION parameter (not copied, not owned).
class Vec3Function {
public:
    virtual ~Vec3Function() = default;
    virtual Vec3 at(float time) const = 0;
};

// The same vector at every time.
class ConstantVec3Function final : public Vec3Function {
public:
    ConstantVec3Function(double x, double y, double z) : value_(x, y, z) {}
    Vec3 at(float) const override { return value_; }

private:
    Vec3 value_;
};

} // namespace zov
