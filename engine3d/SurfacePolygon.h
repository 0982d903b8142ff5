#pragma once

#include "engine3d/Surface.h"
#include "math/Vec3.h"
#include "raster/RasterTriangle.h"

#include <cstdint>
#include <memory>

namespace zov {

// One triangle of a mesh with its surface, its texture coordinates and the
// RasterTriangle that the mesh render fills for it every frame.
class SurfacePolygon {
public:
    SurfacePolygon() = default;
    SurfacePolygon(const SurfacePolygon&) = delete;
    SurfacePolygon& operator=(const SurfacePolygon&) = delete;
    // Releases its share of the surface, then prints "about to try imageCoords \n",
    // "about to try envCoords \n", "about to try bumpCoords \n",
    // "about to try transpCoords \n", "about to try pInfo \n", "} del surfpoly \n".
    ~SurfacePolygon();

    // The k-th vertex (an index into the mesh's vertex store), or -1.
    int vertex(int k) const { return k >= 0 && k < vertexCount ? vertices[k] : -1; }
    // normal = normalize((q - p) x (r - q)); a degenerate triangle gets (0, 0, 0).
    void computeNormal(const Vec3& p, const Vec3& q, const Vec3& r);

    int vertices[3] = {0, 0, 0};
    int vertexCount = 0;
    Vec3 objectNormal{0, 0, 0};
    Vec3 worldNormal{0, 0, 0}; // written every frame
    std::shared_ptr<PolygonTexture> texture;
    std::uint32_t flatColour = 0; // written every frame for flat surfaces
    // u, v of corner 0, then of corner 1, then of corner 2, in texels.
    float imageCoords[6] = {};
    float envCoords[6] = {};
    float bumpCoords[6] = {};
    float transpCoords[6] = {};
    OwnedRasterTriangle raster;
};

} // namespace zov
