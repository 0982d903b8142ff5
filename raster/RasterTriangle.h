#pragma once

#include <cstdint>

namespace zov {

// One triangle handed from the 3D pipeline to a fill operation. The arrays
// belong to whoever built the record (a mesh's triangle list, the clipper's
// spare); the fills read them and replace x and y in coords by screen
// coordinates, so a triangle is handed to one fill once.
struct RasterTriangle {
    // x0 x1 x2, y0 y1 y2, z0 z1 z2: camera space, z is the depth (positive
    // ahead). After a fill: x, y are screen pixels; z is unchanged.
    float* coords = nullptr;
    // Red of vertices 0..2, then green, then blue: light intensities 0..255
    // (gouraud fills only).
    std::int32_t* shades = nullptr;
    // Texture coordinate sets, each u0 u1 u2, v0 v1 v2 in texels (256 spans a
    // texture once): uvA for textureA, uvB for textureB, uvC for textureC.
    // uvD is not written by the engine and no fill reads it.
    float* uvA = nullptr;
    float* uvB = nullptr;
    float* uvC = nullptr;
    float* uvD = nullptr;
    // 256 x 256 pixel arrays, row v at v * 256. textureD serves as a mask.
    const std::uint32_t* textureA = nullptr;
    const std::uint32_t* textureB = nullptr;
    const std::uint32_t* textureC = nullptr;
    const std::uint32_t* textureD = nullptr;
    // Lit colour of the flat and gouraud fills.
    std::uint32_t colour = 0;
    // 0 opaque .. 255 invisible, where blend is neither 0 nor 8.
    std::uint8_t transparency = 0;
    // 0 opaque, 8 additive, any other value transparent by transparency (each
    // fill honours its own set).
    std::uint8_t blend = 0;
    // Polygon type code; the pipeline picks the fill by it, fills ignore it.
    std::uint8_t typeCode = 0;
};

// A RasterTriangle together with arrays of its own, for records that are not
// views into a mesh (the clipper's spare, tests, tools).
struct OwnedRasterTriangle {
    float coords[9] = {};
    std::int32_t shades[9] = {};
    float uv[4][6] = {};
    RasterTriangle triangle;

    OwnedRasterTriangle() { bind(); }
    OwnedRasterTriangle(const OwnedRasterTriangle& other) { *this = other; }
    OwnedRasterTriangle& operator=(const OwnedRasterTriangle& other)
    {
        for (int i = 0; i < 9; ++i) {
            coords[i] = other.coords[i];
            shades[i] = other.shades[i];
        }
        for (int s = 0; s < 4; ++s)
            for (int i = 0; i < 6; ++i)
                uv[s][i] = other.uv[s][i];
        triangle = other.triangle;
        bind();
        return *this;
    }

private:
    // Points the record at this object's arrays (again after a copy).
    void bind()
    {
        triangle.coords = coords;
        triangle.shades = shades;
        triangle.uvA = uv[0];
        triangle.uvB = uv[1];
        triangle.uvC = uv[2];
        triangle.uvD = uv[3];
    }
};

} // namespace zov
