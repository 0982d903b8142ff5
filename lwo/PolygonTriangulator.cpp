#include "lwo/PolygonTriangulator.h"

#include <cmath>
#include <cstdlib>

namespace zov {

namespace {

// Twice the signed area of abc: above 0 when it turns counter-clockwise.
template <typename P> double turn(const P& a, const P& b, const P& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

template <typename P> bool samePlace(const P& a, const P& b)
{
    return a.x == b.x && a.y == b.y;
}

void fan(std::uint32_t n, std::vector<CornerTriangle>& out)
{
    for (std::uint32_t k = 2; k < n; ++k)
        out.push_back({0, k - 1, k});
}

} // namespace

void PolygonTriangulator::triangulate(const std::vector<Vec3>& points, const std::vector<std::uint16_t>& corners,
                                      std::vector<CornerTriangle>& out)
{
    out.clear();
    const auto n = static_cast<std::uint32_t>(corners.size());
    if (n < 3)
        return;
    if (n == 3 || !project(points, corners) || fanIsRight())
        fan(n, out);
    else
        clipEars(out);
}

// False, leaving the polygon to its fan, when it has no plane to lie in:
// no area, corners that are not finite or not there.
bool PolygonTriangulator::project(const std::vector<Vec3>& points, const std::vector<std::uint16_t>& corners)
{
    const std::size_t n = corners.size();
    for (std::uint16_t c : corners)
        if (c >= points.size() || !std::isfinite(points[c].x) || !std::isfinite(points[c].y) ||
            !std::isfinite(points[c].z))
            return false;
    // Newell's normal, from the first corner to keep the digits.
    const Vec3& origin = points[corners[0]];
    double normal[3] = {0, 0, 0};
    for (std::size_t k = 0; k < n; ++k) {
        const Vec3 p = points[corners[k]].minus(origin), q = points[corners[(k + 1) % n]].minus(origin);
        normal[0] += (p.y - q.y) * (p.z + q.z);
        normal[1] += (p.z - q.z) * (p.x + q.x);
        normal[2] += (p.x - q.x) * (p.y + q.y);
    }
    int axis = 0;
    for (int i = 1; i < 3; ++i)
        if (std::abs(normal[i]) > std::abs(normal[axis]))
            axis = i;
    if (!(normal[axis] > 0) && !(normal[axis] < 0))
        return false;
    // The plane across the dominant axis, its two others taken in turn, so that
    // the polygon turns there as its normal says; mirrored when clockwise.
    const double flip = normal[axis] > 0 ? 1.0 : -1.0;
    at_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const Vec3 p = points[corners[k]].minus(origin);
        const double c[3] = {p.x, p.y, p.z};
        at_[k] = {c[(axis + 1) % 3], flip * c[(axis + 2) % 3]};
    }
    return true;
}

// Every fan triangle turns the polygon's way: then the fan covers it once.
// The slack lets corners in line with the first, give or take the last bits,
// keep their fan.
bool PolygonTriangulator::fanIsRight() const
{
    const Point2& o = at_[0];
    for (std::size_t k = 1; k + 1 < at_.size(); ++k) {
        const Point2 &p = at_[k], &q = at_[k + 1];
        const double slack =
            1e-12 * (std::abs(p.x - o.x) + std::abs(p.y - o.y)) * (std::abs(q.x - o.x) + std::abs(q.y - o.y));
        if (turn(o, p, q) < -slack)
            return false;
    }
    return true;
}

bool PolygonTriangulator::convex(std::uint32_t b) const
{
    return turn(at_[prev_[b]], at_[b], at_[next_[b]]) > 0;
}

void PolygonTriangulator::clipEars(std::vector<CornerTriangle>& out)
{
    const auto n = static_cast<std::uint32_t>(at_.size());
    next_.resize(n);
    prev_.resize(n);
    reflex_.resize(n);
    for (std::uint32_t k = 0; k < n; ++k) {
        next_[k] = k + 1 < n ? k + 1 : 0;
        prev_[k] = k > 0 ? k - 1 : n - 1;
    }
    for (std::uint32_t k = 0; k < n; ++k)
        reflex_[k] = !convex(k);

    // Every pass of the loop either cuts a corner or counts a miss, and a
    // whole round of misses cuts one anyway: at most n^2 passes of up to 2n
    // steps each, and never more steps than are left.
    std::uint32_t corner = 0, left = n, misses = 0;
    while (left > 3) {
        if (workLeft_ < 2 * std::uint64_t{left}) {
            for (std::uint32_t v = next_[corner]; next_[v] != corner; v = next_[v])
                out.push_back({corner, v, next_[v]});
            return;
        }
        const std::uint32_t after = next_[corner];
        if (!reflex_[corner] && isEar(prev_[corner], corner, after)) {
            cut(corner, out);
            corner = after;
            misses = 0;
            --left;
            continue;
        }
        corner = after;
        if (++misses >= left) {
            // No ear in a whole round: the outline crosses or doubles back.
            corner = firstConvexFrom(corner, left);
            const std::uint32_t then = next_[corner];
            cut(corner, out);
            corner = then;
            misses = 0;
            --left;
        }
    }
    out.push_back({prev_[corner], corner, next_[corner]});
}

// No corner that may reach into abc lies inside it or on its edges; corners
// in the same place as a, b or c do not count, so that a polygon whose hole
// is joined to its outline by a seam there and back can be cut.
bool PolygonTriangulator::isEar(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    const Point2 &pa = at_[a], &pb = at_[b], &pc = at_[c];
    for (std::uint32_t v = next_[c]; v != a; v = next_[v]) {
        --workLeft_;
        if (!reflex_[v])
            continue;
        const Point2& p = at_[v];
        if (turn(pa, pb, p) >= 0 && turn(pb, pc, p) >= 0 && turn(pc, pa, p) >= 0 && !samePlace(p, pa) &&
            !samePlace(p, pb) && !samePlace(p, pc))
            return false;
    }
    return true;
}

std::uint32_t PolygonTriangulator::firstConvexFrom(std::uint32_t start, std::uint32_t count)
{
    std::uint32_t v = start;
    for (std::uint32_t k = 0; k < count; ++k, v = next_[v]) {
        --workLeft_;
        if (!reflex_[v])
            return v;
    }
    return start;
}

void PolygonTriangulator::cut(std::uint32_t b, std::vector<CornerTriangle>& out)
{
    const std::uint32_t a = prev_[b], c = next_[b];
    out.push_back({a, b, c});
    next_[a] = c;
    prev_[c] = a;
    reflex_[a] = !convex(a);
    reflex_[c] = !convex(c);
}

} // namespace zov
