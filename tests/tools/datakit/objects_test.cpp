#include "tests/tools/datakit/LwobWalk.h"
#include "tools/datakit/Kit.h"
#include "tools/datakit/Objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace zov {
namespace {

using kit::LwoObject;
using kit::LwoPolygon;
using kit::LwoSurface;
using kit::LwoTexture;
using P = std::array<float, 3>;

P sub(const P& a, const P& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
P cross(const P& a, const P& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float dot(const P& a, const P& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The import keeps only the first three corners of each polygon, the flat
// lighting and back-face test read (B - A) x (C - B) as the outside, and the
// smooth normals sum those over each vertex: so every polygon must be a
// triangle of a closed, consistently wound surface facing outwards.
void expectClosedOutwardTriangles(const LwoObject& o)
{
    std::map<std::pair<int, int>, int> edges;
    double volume = 0.0;
    for (const LwoPolygon& p : o.polygons) {
        ASSERT_EQ(p.vertices.size(), 3u);
        for (std::uint16_t v : p.vertices)
            ASSERT_LT(v, o.points.size());
        ASSERT_GE(p.surface, 1);
        ASSERT_LE(p.surface, o.surfaces.size());
        const P& a = o.points[p.vertices[0]];
        const P& b = o.points[p.vertices[1]];
        const P& c = o.points[p.vertices[2]];
        const P n = cross(sub(b, a), sub(c, b));
        EXPECT_GT(std::sqrt(dot(n, n)), 1e-6f) << "degenerate triangle";
        volume += dot(a, cross(b, c));
        for (int k = 0; k < 3; ++k)
            ++edges[{p.vertices[k], p.vertices[(k + 1) % 3]}];
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1) << "edge " << edge.first << "-" << edge.second << " used twice the same way";
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
            << "edge " << edge.first << "-" << edge.second << " has no opposite: the surface is open";
    }
    EXPECT_GT(volume, 0.0) << "triangles face inwards";
}

TEST(KitObjects, StarIsAClosedOutwardSolidOfAFewHundredTriangles)
{
    const LwoObject star = kit::makeStar();
    expectClosedOutwardTriangles(star);
    EXPECT_GE(star.polygons.size(), 100u);
    EXPECT_LE(star.polygons.size(), 500u);
    // Every vertex gets a usable smooth normal for the environment map.
    std::vector<P> sums(star.points.size(), P{0, 0, 0});
    for (const LwoPolygon& p : star.polygons) {
        const P& a = star.points[p.vertices[0]];
        P n = cross(sub(star.points[p.vertices[1]], a), sub(star.points[p.vertices[2]], star.points[p.vertices[1]]));
        const float len = std::sqrt(dot(n, n));
        for (std::uint16_t v : p.vertices)
            for (int k = 0; k < 3; ++k)
                sums[v][static_cast<std::size_t>(k)] += n[static_cast<std::size_t>(k)] / len;
    }
    for (const P& s : sums)
        EXPECT_GT(std::sqrt(dot(s, s)), 0.1f);
    // Small enough to stay inside the near distance the show views it from
    // (5 units from the camera at its closest).
    for (const P& p : star.points)
        EXPECT_LT(std::sqrt(dot(p, p)), 2.5f);
}

TEST(KitObjects, CubeHasItsOwnSurfacesAndReadableImageFaces)
{
    const LwoObject cube = kit::makeCube();
    expectClosedOutwardTriangles(cube);
    EXPECT_EQ(cube.polygons.size(), 12u);
    int textured = 0;
    for (const LwoPolygon& p : cube.polygons) {
        const LwoSurface& s = cube.surfaces[p.surface - 1];
        if (!s.colourTexture) {
            EXPECT_NE(s.colour, 0u);
            continue;
        }
        ++textured;
        const LwoTexture& t = *s.colourTexture;
        EXPECT_EQ(t.type, "Planar Image Map");
        EXPECT_EQ(t.flags, 4); // along z
        EXPECT_EQ(std::string(t.image), kit::kCubeFaceImage);
        // Planar z mapping: u = (x / size.x + 0.5) * 255 must span the face
        // exactly once, and the face must lie across z.
        float uMin = 1e9f, uMax = -1e9f;
        for (std::uint16_t v : p.vertices) {
            const P& q = cube.points[v];
            const float u = ((q[0] - t.centre[0]) / t.size[0] + 0.5f) * 255.0f;
            uMin = std::min(uMin, u);
            uMax = std::max(uMax, u);
        }
        EXPECT_NEAR(uMin, 0.0f, 1e-3f);
        EXPECT_NEAR(uMax, 255.0f, 1e-3f);
        const P n = cross(sub(cube.points[p.vertices[1]], cube.points[p.vertices[0]]),
                          sub(cube.points[p.vertices[2]], cube.points[p.vertices[1]]));
        EXPECT_NEAR(std::fabs(n[2]), std::sqrt(dot(n, n)), 1e-3f);
        // Seen from its own side, u grows to the right: with the normal
        // towards -z x runs rightwards, towards +z leftwards.
        EXPECT_EQ(n[2] < 0.0f, t.size[0] > 0.0f);
    }
    EXPECT_EQ(textured, 4);
    // The image the faces name is one the kit writes, at texture size.
    bool written = false;
    for (const kit::KitFileSpec& f : kit::kitFiles())
        written = written || (("data/" + std::string(f.file)) == kit::kCubeFaceImage && f.width == 256 && f.height == 256);
    EXPECT_TRUE(written);
}

} // namespace
} // namespace zov
