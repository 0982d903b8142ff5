#include "effects/ShowPaths.h"

#include "runtime/ShowConstants.h"

#include <cmath>

namespace zov {

Vec3 SlidePath::at(float time) const { return Vec3((1.1 - 0.14 * time) * kScreenWidth, kScreenHeight / 2 - 10, 0.0); }

Vec3 StarOrbit::at(float time) const
{
    const double t = time;
    return Vec3(1.5 * std::cos(t), std::cos(2.0 * t), 5.0 * std::sin(2.0 * t) - 14.0);
}

} // namespace zov
