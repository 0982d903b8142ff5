#pragma once

#include "tools/datakit/LwoWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zov::test {

// An octahedron of the given radius, wound outwards, its eight triangles
// dealt out over the surfaces in turn: a stand-in for the show's objects.
inline kit::LwoObject octahedron(float radius, const std::vector<kit::LwoSurface>& surfaces)
{
    kit::LwoObject o;
    o.surfaces = surfaces;
    for (int axis = 0; axis < 3; ++axis)
        for (float sign : {radius, -radius}) {
            std::array<float, 3> p{0.0f, 0.0f, 0.0f};
            p[static_cast<std::size_t>(axis)] = sign;
            o.points.push_back(p);
        }
    for (int i = 0; i < 8; ++i) {
        // (x, y, z) faces outwards when an even number of its corners lie on
        // the negative side; otherwise it is turned round.
        const auto x = static_cast<std::uint16_t>(i & 1), y = static_cast<std::uint16_t>(2 + ((i >> 1) & 1)),
                   z = static_cast<std::uint16_t>(4 + ((i >> 2) & 1));
        const bool even = ((i & 1) + ((i >> 1) & 1) + ((i >> 2) & 1)) % 2 == 0;
        const auto surface = static_cast<std::uint16_t>(i % static_cast<int>(surfaces.size()) + 1);
        o.polygons.push_back(
            {even ? std::vector<std::uint16_t>{x, y, z} : std::vector<std::uint16_t>{x, z, y}, surface});
    }
    return o;
}

// The star with one surface, and the cube whose first two surfaces carry
// the emblem picture as the kit's does.
inline kit::LwoObject standinStar() { return octahedron(1.5f, {{"Star", 0xD8D8E0, std::nullopt}}); }
inline kit::LwoObject standinCube()
{
    kit::LwoTexture emblem;
    emblem.size = {8.0f, 8.0f, 8.0f};
    emblem.image = "data/kubface.jpg";
    return octahedron(5.0f,
                      {{"KubFront", 0xFFFFFF, emblem}, {"KubBack", 0xFFFFFF, emblem}, {"KubSide", 0xC02C70, std::nullopt}});
}

} // namespace zov::test
