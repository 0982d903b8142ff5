#include "math/Vec3.h"

#include "math/Matrix.h"

#include <cfloat>
#include <cmath>

namespace zov {

double Vec3::length() const
{
    const double squares = x * x + y * y + z * z;
    // Tiny components square to 0; hypot keeps their length.
    if (squares >= DBL_MIN || (x == 0.0 && y == 0.0 && z == 0.0))
        return std::sqrt(squares);
    return std::hypot(std::hypot(x, y), z);
}

Vec3 Vec3::normalize()
{
    const double len = length();
    if (len == 0.0) {
        x = y = z = 0.0;
    } else {
        x /= len;
        y /= len;
        z /= len;
    }
    return *this;
}

double Vec3::dot(const Vec3& b) const
{
    return x * b.x + y * b.y + z * b.z;
}

Vec3 Vec3::cross(const Vec3& b) const
{
    return Vec3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
}

Vec3 Vec3::minus(const Vec3& b) const
{
    return Vec3(x - b.x, y - b.y, z - b.z);
}

Vec3 Vec3::addInPlace(const Vec3& b)
{
    set(x + b.x, y + b.y, z + b.z);
    return *this;
}

Vec3 Vec3::transform(const Matrix& mat) const
{
    const auto& m = mat.m;
    return Vec3(x * m[0][0] + y * m[1][0] + z * m[2][0] + w * m[3][0],
                x * m[0][1] + y * m[1][1] + z * m[2][1] + w * m[3][1],
                x * m[0][2] + y * m[1][2] + z * m[2][2] + w * m[3][2]);
}

} // namespace zov
