#pragma once

#include "math/Vec3.h"

namespace zov {

// 4x4 row-major transform applied to row vectors (v' = v * M), translation
// in row 3. In A.times(B) the left factor acts first on a point.
struct Matrix {
    double m[4][4];

    Matrix() { setIdentity(); }

    void setIdentity();
    void set(const double values[16]);

    // Each of these overwrites the whole matrix. Angles in radians.
    void rotationX(double a);
    void rotationY(double a);
    void rotationZ(double a);
    void translation(double tx, double ty, double tz);
    void scale(double sx, double sy, double sz);

    Matrix times(const Matrix& b) const;
    Matrix multiplyBy(const Matrix& b);
};

} // namespace zov
