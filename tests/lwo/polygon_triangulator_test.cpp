#include "lwo/PolygonTriangulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace zov {
namespace {

struct Outline {
    const char* name;
    std::vector<Vec3> points;
    std::vector<std::uint16_t> corners; // empty: the points in order
};

std::vector<std::uint16_t> cornersOf(const Outline& o)
{
    if (!o.corners.empty())
        return o.corners;
    std::vector<std::uint16_t> all(o.points.size());
    std::iota(all.begin(), all.end(), std::uint16_t{0});
    return all;
}

Vec3 corner(const Outline& o, const std::vector<std::uint16_t>& corners, std::uint32_t k)
{
    return o.points[corners[k]];
}

// Twice the area: the length of Newell's normal.
Vec3 doubleAreaNormal(const std::vector<Vec3>& ring)
{
    Vec3 n(0, 0, 0);
    for (std::size_t k = 0; k < ring.size(); ++k)
        n.addInPlace(ring[k].cross(ring[(k + 1) % ring.size()]));
    return n;
}

// Points in the plane z = 0 (x, y pairs), or across another axis.
std::vector<Vec3> flat(std::initializer_list<double> xy, int axis = 2)
{
    std::vector<Vec3> out;
    for (auto it = xy.begin(); it != xy.end(); it += 2)
        out.push_back(axis == 2 ? Vec3(it[0], it[1], 0) : axis == 0 ? Vec3(0.5, it[1], it[0]) : Vec3(it[0], 3, it[1]));
    return out;
}

// A square ring joined to its hole by a seam there and back, as modellers
// write a polygon with a hole: the corners at both ends of the seam repeat.
Outline squareRing()
{
    return {"square ring",
            flat({10, 0, 10, 10, -10, 10, -10, -10, 10, -10, 5, 0, 5, -5, -5, -5, -5, 5, 5, 5}),
            {0, 1, 2, 3, 4, 0, 5, 6, 7, 8, 9, 5}};
}

TEST(PolygonTriangulator, ConcaveOutlinesAreCoveredOnceByTrianglesTurningTheirWay)
{
    Outline ringSideways = squareRing();
    ringSideways.name = "square ring across x, clockwise";
    std::reverse(ringSideways.corners.begin(), ringSideways.corners.end());
    for (Vec3& p : ringSideways.points)
        p.set(0.5, p.y, p.x);
    const Outline outlines[] = {
        squareRing(),
        ringSideways,
        {"U", flat({0, 0, 3, 0, 3, 3, 2, 3, 2, 1, 1, 1, 1, 3, 0, 3}), {}},
        {"comb", flat({0, 0, 6, 0, 6, 2, 5, 2, 5, 1, 4, 1, 4, 2, 3, 2, 3, 1, 2, 1, 2, 2, 1, 2, 1, 1, 0, 1}, 1), {}},
        {"arrow with a corner in line", flat({0, 0, 4, 2, 8, 4, 0, 8, 2, 4}), {}},
    };
    for (const Outline& o : outlines) {
        SCOPED_TRACE(o.name);
        const std::vector<std::uint16_t> corners = cornersOf(o);
        std::vector<Vec3> ring;
        for (std::uint32_t k = 0; k < corners.size(); ++k)
            ring.push_back(corner(o, corners, k));
        const Vec3 normal = doubleAreaNormal(ring);

        PolygonTriangulator triangulator;
        std::vector<CornerTriangle> triangles;
        triangulator.triangulate(o.points, corners, triangles);
        ASSERT_EQ(triangles.size(), corners.size() - 2);
        double area = 0;
        for (const CornerTriangle& t : triangles) {
            const Vec3 n =
                doubleAreaNormal({corner(o, corners, t.a), corner(o, corners, t.b), corner(o, corners, t.c)});
            EXPECT_GE(n.dot(normal), 0.0) << t.a << " " << t.b << " " << t.c;
            area += n.length();
        }
        // A fan of any of them turns some triangles the wrong way and covers
        // more than the outline.
        EXPECT_NEAR(area, normal.length(), 1e-9);
    }
}

TEST(PolygonTriangulator, FansStayWhereverTheyAreRight)
{
    // A convex pentagon, and a quad whose one inward corner is the first.
    const Outline outlines[] = {{"pentagon", flat({-1, -1, 1, -1, 1, 1, 0, 2, -1, 1}), {}},
                                {"dart", flat({1, 1, 1, 3, 0, 0, 3, 1}, 0), {}}};
    for (const Outline& o : outlines) {
        PolygonTriangulator triangulator;
        std::vector<CornerTriangle> triangles;
        triangulator.triangulate(o.points, cornersOf(o), triangles);
        ASSERT_EQ(triangles.size(), o.points.size() - 2) << o.name;
        for (std::uint32_t k = 0; k < triangles.size(); ++k)
            EXPECT_TRUE(triangles[k].a == 0 && triangles[k].b == k + 1 && triangles[k].c == k + 2) << o.name << k;
    }
}

TEST(PolygonTriangulator, BrokenOutlinesStillGiveEveryTriangleAndEnd)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<Vec3> comb; // teeth of alternating depth, 2000 corners
    for (int k = 0; k < 1000; ++k) {
        comb.emplace_back(k, k % 2 ? 50 : 100, 0);
        comb.emplace_back(k + 0.5, 1, 0);
    }
    comb.emplace_back(1000, 0, 0);
    comb.emplace_back(0, 0, 0);
    struct Case {
        Outline outline;
        std::uint64_t budget;
    };
    const Case cases[] = {
        {{"in a line", flat({0, 0, 1, 1, 2, 2, 3, 3, 1, 1}), {}}, PolygonTriangulator::kWorkBudget},
        {{"repeated corners", flat({0, 0, 2, 0, 2, 0, 1, 1, 2, 2, 0, 2, 0, 2}), {0, 1, 2, 1, 3, 4, 5, 6, 0}},
         PolygonTriangulator::kWorkBudget},
        {{"bow-tie", flat({0, 0, 3, 3, 3, 0, 0, 1}), {}}, PolygonTriangulator::kWorkBudget},
        {{"pentagram", flat({0, 10, 6, -8, -9, 3, 9, 3, -6, -8}), {}}, PolygonTriangulator::kWorkBudget},
        {{"crossing spiral", flat({0, 0, 4, 0, 4, 4, 1, 4, 1, 1, 3, 1, 3, 3, 2, 3, 2, -1, -1, -1, -1, 5}), {}},
         PolygonTriangulator::kWorkBudget},
        {{"not a number", {Vec3(0, 0, 0), Vec3(1, 0, 0), Vec3(nan, 1, 0), Vec3(0, 1, 0)}, {}},
         PolygonTriangulator::kWorkBudget},
        {{"corner past the points", flat({0, 0, 1, 0, 1, 1}), {0, 1, 2, 7}}, PolygonTriangulator::kWorkBudget},
        {{"comb, work running out", comb, {}}, 100000},
    };
    for (const Case& c : cases) {
        PolygonTriangulator triangulator(c.budget);
        const std::vector<std::uint16_t> corners = cornersOf(c.outline);
        std::vector<CornerTriangle> triangles;
        triangulator.triangulate(c.outline.points, corners, triangles);
        ASSERT_EQ(triangles.size(), corners.size() - 2) << c.outline.name;
        for (const CornerTriangle& t : triangles)
            EXPECT_TRUE(t.a < corners.size() && t.b < corners.size() && t.c < corners.size() && t.a != t.b &&
                        t.b != t.c && t.a != t.c)
                << c.outline.name;
    }
}

} // namespace
} // namespace zov
