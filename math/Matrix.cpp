#include "math/Matrix.h"

#include <cmath>

namespace zov {

void Matrix::setIdentity()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
}

void Matrix::set(const double values[16])
{
    for (int i = 0; i < 16; ++i)
        m[i / 4][i % 4] = values[i];
}

void Matrix::rotationX(double a)
{
    setIdentity();
    m[1][1] = std::cos(a);
    m[1][2] = -std::sin(a);
    m[2][1] = std::sin(a);
    m[2][2] = std::cos(a);
}

void Matrix::rotationY(double a)
{
    setIdentity();
    m[0][0] = std::cos(a);
    m[0][2] = std::sin(a);
    m[2][0] = -std::sin(a);
    m[2][2] = std::cos(a);
}

void Matrix::rotationZ(double a)
{
    setIdentity();
    m[0][0] = std::cos(a);
    m[0][1] = -std::sin(a);
    m[1][0] = std::sin(a);
    m[1][1] = std::cos(a);
}

void Matrix::translation(double tx, double ty, double tz)
{
    setIdentity();
    m[3][0] = tx;
    m[3][1] = ty;
    m[3][2] = tz;
}

void Matrix::scale(double sx, double sy, double sz)
{
    setIdentity();
    m[0][0] = sx;
    m[1][1] = sy;
    m[2][2] = sz;
}

Matrix Matrix::times(const Matrix& b) const
{
    Matrix c;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += m[i][k] * b.m[k][j];
            c.m[i][j] = sum;
        }
    return c;
}

Matrix Matrix::multiplyBy(const Matrix& b)
{
    *this = times(b);
    return *this;
}

} // namespace zov
