#include "math/Matrix.h"
#include "math/Vec3.h"

#include <gtest/gtest.h>

#include <cmath>

using zov::Matrix;
using zov::Vec3;

namespace {
constexpr double kEps = 1e-12;
constexpr double kHalfPi = 1.5707963267948966;

void expectNear(const Vec3& v, double x, double y, double z)
{
    EXPECT_NEAR(v.x, x, kEps);
    EXPECT_NEAR(v.y, y, kEps);
    EXPECT_NEAR(v.z, z, kEps);
}
} // namespace

TEST(Vec3, NormalizeZeroStaysZeroAndTinyDivides)
{
    Vec3 zero(0, 0, 0);
    expectNear(zero.normalize(), 0, 0, 0);
    Vec3 tiny(0, 0, 1e-300);
    expectNear(tiny.normalize(), 0, 0, 1);
}

TEST(Vec3, CrossIsRightHanded)
{
    expectNear(Vec3(1, 0, 0).cross(Vec3(0, 1, 0)), 0, 0, 1);
    expectNear(Vec3(0, 1, 0).cross(Vec3(1, 0, 0)), 0, 0, -1);
}

TEST(Vec3, TransformHonoursOwnW)
{
    Matrix t;
    t.translation(5, 6, 7);
    expectNear(Vec3(1, 2, 3).transform(t), 6, 8, 10);
    Vec3 direction(1, 2, 3);
    direction.w = 0.0;
    Vec3 moved = direction.transform(t);
    expectNear(moved, 1, 2, 3);
    EXPECT_EQ(moved.w, 1.0);
}

TEST(Matrix, RotationSigns)
{
    Matrix m;
    m.rotationX(0.3);
    expectNear(Vec3(0, 1, 0).transform(m), 0, std::cos(0.3), -std::sin(0.3));
    m.rotationY(0.3);
    expectNear(Vec3(1, 0, 0).transform(m), std::cos(0.3), 0, std::sin(0.3));
    m.rotationZ(0.3);
    expectNear(Vec3(1, 0, 0).transform(m), std::cos(0.3), -std::sin(0.3), 0);
}

TEST(Matrix, LeftFactorActsFirst)
{
    Matrix t, r;
    t.translation(1, 0, 0);
    r.rotationZ(kHalfPi);
    expectNear(Vec3(0, 0, 0).transform(t.times(r)), std::cos(kHalfPi), -std::sin(kHalfPi), 0);
    expectNear(Vec3(0, 0, 0).transform(r.times(t)), 1, 0, 0);
}

TEST(Matrix, BuildersOverwriteAndMultiplyByComposes)
{
    Matrix m;
    m.translation(1, 2, 3);
    m.scale(2, 3, 4);
    expectNear(Vec3(1, 1, 1).transform(m), 2, 3, 4);
    Matrix s;
    s.scale(2, 2, 2);
    Matrix t;
    t.translation(1, 0, 0);
    Matrix copy = s.multiplyBy(t);
    expectNear(Vec3(1, 1, 1).transform(s), 3, 2, 2);
    expectNear(Vec3(1, 1, 1).transform(copy), 3, 2, 2);
}
