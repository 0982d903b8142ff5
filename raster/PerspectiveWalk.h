#pragma once

#include "raster/FixedPoint.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

// Set-up and edge walk of the perspective-correct fills: gradients of 1/z,
// u/z and v/z over the screen and two float edges with sub-pixel pre-steps.
// Screen positions here are sx + 0.5, sy + 0.5, so the centre of pixel
// (x, y) lies at (x + 1, y + 1).
namespace zov::raster {

struct PerspectiveVertex {
    float x = 0.0f, y = 0.0f; // screen position + 0.5
    float a[3] = {};          // 1/z, u/z, v/z
};

// Per-call set-up values: screen gradients of the three attributes.
struct PerspectiveGradients {
    float dx[3] = {}; // d/dx of 1/z, u/z, v/z
    float dy[3] = {}; // d/dy
};

struct LeftEdge {
    float x = 0.0f, dxdy = 0.0f;
    float a[3] = {};  // 1/z, u/z, v/z on this scanline
    float da[3] = {}; // their steps per scanline along the edge
};

struct RightEdge {
    float x = 0.0f, dxdy = 0.0f;
};

inline LeftEdge leftEdgeFrom(const PerspectiveVertex& v, float slope, float preStep, const PerspectiveGradients& g)
{
    LeftEdge e;
    e.x = v.x + slope * preStep;
    e.dxdy = slope;
    for (int k = 0; k < 3; ++k) {
        e.da[k] = slope * g.dx[k] + g.dy[k];
        e.a[k] = v.a[k] + preStep * e.da[k];
    }
    return e;
}

// Scanlines y0 .. y1-1; rows above the target are stepped over at once,
// rows below it are not visited.
template <class Row>
void walkPerspectiveRows(std::int64_t y0, std::int64_t y1, LeftEdge& l, RightEdge& r, int height, Row& row)
{
    if (y0 < 0) {
        const float rows = static_cast<float>(std::min<std::int64_t>(y1, 0) - y0);
        l.x += rows * l.dxdy;
        r.x += rows * r.dxdy;
        for (int k = 0; k < 3; ++k)
            l.a[k] += rows * l.da[k];
        y0 = std::min<std::int64_t>(y1, 0);
    }
    const std::int64_t end = std::min<std::int64_t>(y1, height);
    for (std::int64_t y = y0; y < end; ++y) {
        row(static_cast<int>(y), l, r.x);
        l.x += l.dxdy;
        r.x += r.dxdy;
        for (int k = 0; k < 3; ++k)
            l.a[k] += l.da[k];
    }
}

// Sorts the vertices, builds the gradients and walks the edges, calling
// row(y, leftEdge, rightX) per scanline inside the target. Degenerate
// triangles (no scanline, one pixel column, zero area) call nothing.
template <class Row>
void walkPerspective(std::array<PerspectiveVertex, 3> v, int height, Row&& row)
{
    auto cas = [&](int i, int j) {
        if (v[i].y > v[j].y)
            std::swap(v[i], v[j]);
    };
    cas(0, 1);
    cas(0, 2);
    cas(1, 2);
    const PerspectiveVertex& p0 = v[0];
    const PerspectiveVertex& p1 = v[1];
    const PerspectiveVertex& p2 = v[2];
    const std::int64_t y0 = fixed::truncate(p0.y);
    const std::int64_t y1 = fixed::truncate(p1.y);
    const std::int64_t y2 = fixed::truncate(p2.y);
    if (y0 >= y2)
        return;
    const std::int64_t c0 = fixed::truncate(p0.x);
    if (c0 == fixed::truncate(p1.x) && c0 == fixed::truncate(p2.x))
        return;
    const float d = (p2.x - p0.x) * (p1.y - p0.y) - (p1.x - p0.x) * (p2.y - p0.y);
    if (d == 0.0f)
        return;
    const float invD = 1.0f / d;
    PerspectiveGradients g;
    for (int k = 0; k < 3; ++k) {
        const float d1 = p1.a[k] - p0.a[k];
        const float d2 = p2.a[k] - p0.a[k];
        g.dx[k] = ((p1.y - p0.y) * d2 - (p2.y - p0.y) * d1) * invD;
        g.dy[k] = ((p2.x - p0.x) * d1 - (p1.x - p0.x) * d2) * invD;
    }
    row.begin(g);

    const float slopeTopMid = p0.y < p1.y ? (p1.x - p0.x) / (p1.y - p0.y) : 0.0f;
    const float slopeTopBottom = p0.y < p2.y ? (p2.x - p0.x) / (p2.y - p0.y) : 0.0f;
    const float slopeMidBottom = p1.y < p2.y ? (p2.x - p1.x) / (p2.y - p1.y) : 0.0f;
    const float pre0 = 1.0f - (p0.y - static_cast<float>(y0));
    const float pre1 = 1.0f - (p1.y - static_cast<float>(y1));

    bool middleLeft;
    if (p2.y != p1.y)
        middleLeft = p0.y != p1.y ? slopeTopBottom > slopeTopMid : p0.x > p1.x;
    else
        middleLeft = p2.x > p1.x;

    if (middleLeft) {
        RightEdge right{p0.x + slopeTopBottom * pre0, slopeTopBottom};
        if (y0 < y1) {
            LeftEdge upper = leftEdgeFrom(p0, slopeTopMid, pre0, g);
            walkPerspectiveRows(y0, y1, upper, right, height, row);
        }
        LeftEdge lower = leftEdgeFrom(p1, slopeMidBottom, pre1, g);
        walkPerspectiveRows(y1, y2, lower, right, height, row);
    } else {
        LeftEdge left = leftEdgeFrom(p0, slopeTopBottom, pre0, g);
        if (y0 < y1) {
            RightEdge upper{p0.x + slopeTopMid * pre0, slopeTopMid};
            walkPerspectiveRows(y0, y1, left, upper, height, row);
        }
        RightEdge lower{p1.x + slopeMidBottom * pre1, slopeMidBottom};
        walkPerspectiveRows(y1, y2, left, lower, height, row);
    }
}

} // namespace zov::raster
