#pragma once

#include "math/Vec3.h"

#include <cstdint>
#include <vector>

namespace zov {

// Three corners of a polygon, as positions in its list of corners.
struct CornerTriangle {
    std::uint32_t a, b, c;
};

// Cuts polygons into triangles: a fan from the first corner wherever that fan
// is right (every convex polygon, as objects always had them), ear clipping
// on the polygon's dominant plane otherwise. A polygon of n corners gives
// n - 2 triangles that turn its way, whatever its corners: collinear,
// repeated or crossing ones give a best effort. One triangulator serves one
// object: ear clipping costs up to n^3 steps for a polygon, so once
// workBudget steps are spent in all, what is left of the object is fanned.
class PolygonTriangulator {
public:
    // A few thousand corners of concave outline; a few tens of milliseconds.
    static constexpr std::uint64_t kWorkBudget = std::uint64_t{1} << 24;

    explicit PolygonTriangulator(std::uint64_t workBudget = kWorkBudget) : workLeft_(workBudget) {}

    // Replaces out by the triangles of the polygon whose corner k is
    // points[corners[k]]; nothing for fewer than three corners.
    void triangulate(const std::vector<Vec3>& points, const std::vector<std::uint16_t>& corners,
                     std::vector<CornerTriangle>& out);

    std::uint64_t workLeft() const { return workLeft_; }

private:
    struct Point2 {
        double x, y;
    };

    bool project(const std::vector<Vec3>& points, const std::vector<std::uint16_t>& corners);
    bool fanIsRight() const;
    void clipEars(std::vector<CornerTriangle>& out);
    bool isEar(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    std::uint32_t firstConvexFrom(std::uint32_t start, std::uint32_t count);
    void cut(std::uint32_t b, std::vector<CornerTriangle>& out);
    bool convex(std::uint32_t b) const;

    std::uint64_t workLeft_;
    // Scratch of the polygon at hand, kept between polygons. The corners on
    // the dominant plane, mirrored where needed so that the polygon turns
    // counter-clockwise.
    std::vector<Point2> at_;
    std::vector<std::uint32_t> next_, prev_;
    std::vector<std::uint8_t> reflex_; // not strictly convex: may lie inside an ear
};

} // namespace zov
