#pragma once

namespace zov {

struct Matrix;

// A homogeneous point, direction, set of Euler angles (radians) or scale
// factors, in 64-bit floats. Built from three values, w is 1.0.
struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 1.0;

    Vec3() = default;
    Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_), w(1.0) {}

    void set(double x_, double y_, double z_)
    {
        x = x_;
        y = y_;
        z = z_;
        w = 1.0;
    }

    double length() const;
    // In place; a vector of exactly zero length becomes (0, 0, 0).
    Vec3 normalize();
    double dot(const Vec3& b) const;
    // Right-handed a x b.
    Vec3 cross(const Vec3& b) const;
    Vec3 minus(const Vec3& b) const;
    Vec3 addInPlace(const Vec3& b);
    // Row vector times m, using this vector's own w; the result's w is 1.0.
    Vec3 transform(const Matrix& m) const;
};

} // namespace zov
