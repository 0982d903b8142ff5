#pragma once

#include "raster/FillTarget.h"
#include "raster/FixedPoint.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

// The edge walker of the affine fills: three edges of a y-sorted triangle
// stepped per scanline in 16.16 with integer-division steps (no sub-pixel
// correction), one span per scanline from the short edge to the long one.
// N is the number of 16.16 attributes carried besides x and 1/z.
namespace zov::raster {

template <int N>
struct EdgePoint {
    std::int64_t x = 0; // 16.16 pixels
    float iz = 0.0f;    // 1/z
    std::array<std::int64_t, N> a{}; // 16.16 attributes (texels, intensities)
};

template <int N>
struct WalkVertex {
    std::int64_t y = 0; // scanline: trunc(sy)
    EdgePoint<N> p;
};

// One span clipped to the target, ready for a pixel loop.
template <int N>
struct Span {
    int x0 = 0; // first column drawn
    int x1 = 0; // one past the last column drawn
    float iz = 0.0f;
    float diz = 0.0f;
    std::array<std::int64_t, N> a{};
    std::array<std::int64_t, N> da{};
};

// Vertex indices ordered top to bottom by sy: four compare-and-swaps, each
// swapping only on strictly greater, so equal sy keep their order.
inline std::array<int, 3> orderByY(const float* sy)
{
    std::array<int, 3> o{0, 1, 2};
    auto cas = [&](int i, int j) {
        if (sy[o[i]] > sy[o[j]])
            std::swap(o[i], o[j]);
    };
    cas(0, 1);
    cas(1, 2);
    cas(0, 2);
    cas(0, 1);
    return o;
}

// Sorted walk vertices from projected coords; attr(vertex, k) gives the k-th
// 16.16 attribute of a vertex.
template <int N, class Attr>
std::array<WalkVertex<N>, 3> walkVertices(const float* coords, Attr attr)
{
    const std::array<int, 3> order = orderByY(coords + 3);
    std::array<WalkVertex<N>, 3> v;
    for (int i = 0; i < 3; ++i) {
        const int k = order[i];
        v[i].y = fixed::truncate(coords[3 + k]);
        v[i].p.x = fixed::fromFloat(coords[k]);
        v[i].p.iz = 1.0f / coords[6 + k];
        for (int j = 0; j < N; ++j)
            v[i].p.a[j] = attr(k, j);
    }
    return v;
}

template <int N>
struct Edge {
    EdgePoint<N> at;
    EdgePoint<N> step;

    Edge(const WalkVertex<N>& from, const WalkVertex<N>& to) : at(from.p)
    {
        const std::int64_t count = to.y - from.y;
        if (count == 0)
            return;
        step.x = (to.p.x - from.p.x) / count;
        step.iz = (to.p.iz - from.p.iz) / static_cast<float>(count);
        for (int j = 0; j < N; ++j)
            step.a[j] = (to.p.a[j] - from.p.a[j]) / count;
    }

    void advance()
    {
        at.x += step.x;
        at.iz += step.iz;
        for (int j = 0; j < N; ++j)
            at.a[j] += step.a[j];
    }

    // `rows` steps at once; rows never exceeds the edge's count, so
    // rows * step stays within the edge's difference.
    void skip(std::int64_t rows)
    {
        at.x += rows * step.x;
        at.iz += static_cast<float>(rows) * step.iz;
        for (int j = 0; j < N; ++j)
            at.a[j] += rows * step.a[j];
    }
};

// The span from e1 to e2 on a scanline inside the target: ends ordered,
// per-pixel steps by division over the unclipped length, then cut to the
// columns 0 .. width-1. False when nothing is drawn.
template <int N>
bool clipSpan(const EdgePoint<N>& e1, const EdgePoint<N>& e2, int width, Span<N>& s)
{
    std::int64_t xl = e1.x >> fixed::kShift;
    std::int64_t xr = e2.x >> fixed::kShift;
    if (xl == xr)
        return false;
    const EdgePoint<N>* l = &e1;
    const EdgePoint<N>* r = &e2;
    if (xl > xr) {
        std::swap(xl, xr);
        std::swap(l, r);
    }
    if (xr < 0 || xl >= width)
        return false;
    const std::int64_t length = xr - xl;
    s.iz = l->iz;
    s.diz = (r->iz - l->iz) / static_cast<float>(length);
    for (int j = 0; j < N; ++j) {
        s.a[j] = l->a[j];
        s.da[j] = (r->a[j] - l->a[j]) / length;
    }
    if (xr > width)
        xr = width;
    if (xl < 0) {
        // -xl < length, so these advances stay within the span's differences.
        s.iz += static_cast<float>(-xl) * s.diz;
        for (int j = 0; j < N; ++j)
            s.a[j] += -xl * s.da[j];
        xl = 0;
    }
    s.x0 = static_cast<int>(xl);
    s.x1 = static_cast<int>(xr);
    return true;
}

// Scanlines y0 .. y1-1 between the short and the long edge. Rows above the
// target are stepped over at once, rows below it are not visited: a vertex
// may project millions of rows away.
template <int N, class DrawSpan>
void walkRows(std::int64_t y0, std::int64_t y1, Edge<N>& shortEdge, Edge<N>& longEdge, int width, int height,
              DrawSpan& draw)
{
    if (y0 < 0) {
        const std::int64_t rows = std::min<std::int64_t>(y1, 0) - y0;
        shortEdge.skip(rows);
        longEdge.skip(rows);
        y0 += rows;
    }
    const std::int64_t end = std::min<std::int64_t>(y1, height);
    Span<N> span;
    for (std::int64_t y = y0; y < end; ++y) {
        if (clipSpan(shortEdge.at, longEdge.at, width, span))
            draw(span, static_cast<int>(y));
        shortEdge.advance();
        longEdge.advance();
    }
}

// Walks a triangle given its vertices sorted top to bottom; the last
// scanline (the bottom vertex's) is not drawn.
template <int N, class DrawSpan>
void walkTriangle(const std::array<WalkVertex<N>, 3>& v, int width, int height, DrawSpan&& draw)
{
    Edge<N> longEdge(v[0], v[2]);
    Edge<N> upper(v[0], v[1]);
    walkRows(v[0].y, v[1].y, upper, longEdge, width, height, draw);
    if (v[1].y >= height)
        return;
    Edge<N> lower(v[1], v[2]);
    walkRows(v[1].y, v[2].y, lower, longEdge, width, height, draw);
}

// Depth policies of a span: test only, or test and store.
struct DepthTest {
    static constexpr bool kWrite = false;
};
struct DepthTestWrite {
    static constexpr bool kWrite = true;
};

// The pixel loop shared by the affine fills: where stamp + 1/z beats the
// depth entry, the shader writes the pixel (and the entry is stored when the
// policy says so); then every attribute steps.
template <class Depth, class Shader, int N>
inline void drawSpan(const FillTarget& t, const Span<N>& s, int y, Shader shader)
{
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(t.width);
    std::uint32_t* pix = t.pixels + row;
    float* dep = t.depth + row;
    shader.begin(s);
    float iz = s.iz;
    const float stamp = t.stamp;
    for (int x = s.x0; x < s.x1; ++x) {
        const float value = stamp + iz;
        if (value > dep[x]) {
            if constexpr (Depth::kWrite)
                dep[x] = value;
            shader.shade(pix[x]);
        }
        shader.step();
        iz += s.diz;
    }
}

} // namespace zov::raster
