#include "engine3d/TriangleClipper.h"
#include "raster/RasterTriangle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zov {
namespace {

OwnedRasterTriangle withDepths(float z0, float z1, float z2)
{
    OwnedRasterTriangle t;
    const float z[3] = {z0, z1, z2};
    for (int k = 0; k < 3; ++k) {
        t.coords[k] = static_cast<float>(k);      // x
        t.coords[3 + k] = static_cast<float>(-k); // y
        t.coords[6 + k] = z[k];
        t.uv[0][k] = 100.0f * static_cast<float>(k);
        t.shades[k] = 60 * k;
    }
    t.triangle.typeCode = 33;
    t.triangle.colour = 0x123456;
    return t;
}

TEST(TriangleClipper, CountsOfTrianglesByCase)
{
    const struct {
        float z0, z1, z2;
        std::uint32_t flags;
    } cases[] = {
        {6, 7, 8, ClipResult::kFirst},       // in front
        {5, 6, 7, ClipResult::kFirst},       // at near is not behind
        {600, 700, 499, ClipResult::kFirst}, // crossing far: not cut
        {600, 700, 800, 0},                  // beyond far
        {1, 2, 3, 0},                        // all behind
        {4, 10, 10, ClipResult::kFirst | ClipResult::kSecond},
        {4, 4, 10, ClipResult::kFirst},
    };
    for (const auto& c : cases) {
        OwnedRasterTriangle t = withDepths(c.z0, c.z1, c.z2), spare;
        const ClipResult r = clipTriangle(t.triangle, spare.triangle, 5.0f, 500.0f);
        EXPECT_EQ(r.flags, c.flags) << c.z0 << " " << c.z1 << " " << c.z2;
        if (r.flags == ClipResult::kFirst && c.z0 >= 5) {
            EXPECT_EQ(t.coords[6], c.z0); // untouched
        }
    }
}

TEST(TriangleClipper, OneBehindSplitsIntoTwoAtNear)
{
    OwnedRasterTriangle t = withDepths(4, 10, 10), spare;
    const ClipResult r = clipTriangle(t.triangle, spare.triangle, 5.0f, 500.0f);
    ASSERT_EQ(r.second, &spare.triangle);
    // Vertex 0 becomes B on edge 0-2: factor (5 - 4) / (10 - 4) = 1/6.
    EXPECT_EQ(t.coords[6], 5.0f);
    EXPECT_FLOAT_EQ(t.coords[0], 2.0f / 6.0f);
    EXPECT_FLOAT_EQ(t.uv[0][0], 200.0f / 6.0f);
    EXPECT_EQ(t.shades[0], 20); // 120 / 6, truncated
    // The spare is (P1, B, A); A on edge 1-0 at (5 - 10) / (4 - 10) = 5/6.
    EXPECT_EQ(spare.coords[0], 1.0f);
    EXPECT_EQ(spare.coords[6], 10.0f);
    EXPECT_FLOAT_EQ(spare.coords[1], 2.0f / 6.0f);
    EXPECT_FLOAT_EQ(spare.coords[2], 1.0f - 5.0f / 6.0f);
    EXPECT_FLOAT_EQ(spare.uv[0][2], 100.0f - 500.0f / 6.0f);
    EXPECT_EQ(spare.coords[8], 5.0f);
    EXPECT_EQ(spare.triangle.typeCode, 33);
    EXPECT_EQ(spare.triangle.colour, 0x123456u);
}

TEST(TriangleClipper, TwoBehindMoveToNearEvenWhenTheThirdIsAtNear)
{
    OwnedRasterTriangle t = withDepths(4, 4, 10), spare;
    clipTriangle(t.triangle, spare.triangle, 5.0f, 500.0f);
    EXPECT_EQ(t.coords[6], 5.0f);
    EXPECT_EQ(t.coords[7], 5.0f);
    EXPECT_FLOAT_EQ(t.coords[0], 2.0f / 6.0f); // vertex 0 along 0-2
    EXPECT_FLOAT_EQ(t.coords[1], 1.0f + 1.0f / 6.0f);

    // No vertex lies strictly in front: the one at near takes the others.
    OwnedRasterTriangle flat = withDepths(4, 4, 5);
    const ClipResult r = clipTriangle(flat.triangle, spare.triangle, 5.0f, 500.0f);
    EXPECT_EQ(r.flags, ClipResult::kFirst);
    for (int k = 0; k < 9; ++k)
        EXPECT_TRUE(std::isfinite(flat.coords[k]));
    EXPECT_EQ(flat.coords[0], 2.0f);
}

} // namespace
} // namespace zov
