#include "engine3d/Camera.h"
#include "engine3d/MeshObject.h"
#include "engine3d/Surface.h"
#include "raster/FillTable.h"
#include "raster/FixedPoint.h"

#include <cmath>

namespace zov {

namespace {

// v (with w = 1) times m, inlined for the vertex loops.
inline Vec3 transformPoint(const Matrix& m, double x, double y, double z)
{
    return Vec3(x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0],
                x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1],
                x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2]);
}

// Surface colour lit by a point light in camera space: the low three bytes
// scaled by the light (0..255) / 256, the top byte kept.
std::uint32_t flatLight(const Vec3& corner, const Vec3& worldNormal, std::uint32_t colour)
{
    const Vec3 light(0, 0, 1);
    Vec3 d = corner.minus(light);
    d.normalize();
    Vec3 n = worldNormal;
    n.normalize();
    double i = -d.dot(n);
    if (!(i > 0.0))
        i = 0.0;
    const std::uint32_t k = static_cast<std::uint32_t>(i * 255.0);
    std::uint32_t out = colour & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((colour >> shift) & 0xFFu) * k) >> 8) << shift;
    return out;
}

// Interleaved corner pairs (u0 v0 u1 v1 u2 v2) into a triangle's u0 u1 u2 v0 v1 v2.
inline void copyCoords(const float (&pairs)[6], float* set)
{
    for (int k = 0; k < 3; ++k) {
        set[k] = pairs[2 * k];
        set[3 + k] = pairs[2 * k + 1];
    }
}

// The coordinate set c of r, or none.
float* coordSet(RasterTriangle& r, fills::Coords c)
{
    switch (c) {
    case fills::Coords::A: return r.uvA;
    case fills::Coords::B: return r.uvB;
    case fills::Coords::C: return r.uvC;
    default: return nullptr;
    }
}

} // namespace

TriangleBatch meshSurfaceObject::render(Camera& camera, double, int, const FogParameters*)
{
    const Matrix toCamera = objectMatrix.times(camera.rebuildView());
    const Matrix& turn = normalMatrix;

    for (auto& p : polygons_) {
        const Vec3& n = p->objectNormal;
        p->worldNormal = transformPoint(turn, n.x, n.y, n.z);
    }
    const std::size_t vertices = source_.size();
    for (std::size_t i = 0; i < vertices; ++i) {
        const VertexRecord& s = source_[i];
        VertexRecord& w = working_[i];
        w.normal = transformPoint(turn, s.normal.x, s.normal.y, s.normal.z);
        w.position = transformPoint(toCamera, s.position.x, s.position.y, s.position.z);
    }

    int count = 0;
    const std::size_t polygons = polygons_.size();
    for (std::size_t i = 0; i < polygons; ++i) {
        SurfacePolygon& p = *polygons_[i];
        if (visible_[i] == 0 || !p.texture)
            continue;
        setUpTriangle(p);
        output_[static_cast<std::size_t>(count++)] = &p.raster.triangle;
    }
    triangleCount_ = count;
    return {output_.data(), count};
}

void meshSurfaceObject::setUpTriangle(SurfacePolygon& p)
{
    const PolygonTexture& t = *p.texture;
    const int f = t.flags;
    RasterTriangle& r = p.raster.triangle;
    const VertexRecord* corner[3] = {&working_[static_cast<std::size_t>(p.vertices[0])],
                                     &working_[static_cast<std::size_t>(p.vertices[1])],
                                     &working_[static_cast<std::size_t>(p.vertices[2])]};
    const std::uint8_t code = static_cast<std::uint8_t>(f & 0xFF);

    if (f == 0) {
        p.flatColour = flatLight(corner[0]->position, p.worldNormal, t.colour);
        r.colour = p.flatColour;
        r.typeCode = 0;
    }
    if (const fills::Row* row = fills::setUpFor(f)) {
        // Flags that are exactly a drawn type code: what its fill is handed.
        const std::int8_t* from = row->textures;
        if (from[0] >= 0)
            r.textureA = t.pixels(from[0]);
        if (from[1] >= 0)
            r.textureB = t.pixels(from[1]);
        if (from[2] >= 0)
            r.textureC = t.pixels(from[2]);
        if (from[3] >= 0)
            r.textureD = t.pixels(from[3]);
        if ((f & PolygonTexture::kImageCoords) != 0)
            copyCoords(p.imageCoords, r.uvA);
        if (float* bump = coordSet(r, row->bump))
            copyCoords(p.bumpCoords, bump);
        r.typeCode = code;
    } else {
        if ((f & PolygonTexture::kImageCoords) != 0) {
            r.textureA = t.pixels(0);
            copyCoords(p.imageCoords, r.uvA);
            r.typeCode = code;
        }
        if ((f & PolygonTexture::kEnvironmentMap) != 0) {
            r.textureA = t.pixels(1);
            r.typeCode = code;
        }
    }
    // A surface whose flags name a texture it lacks is drawn in its colour
    // rather than from a missing picture.
    if (!fills::texturesPresent(r.typeCode, r.textureA, r.textureB, r.textureC, r.textureD)) {
        p.flatColour = flatLight(corner[0]->position, p.worldNormal, t.colour);
        r.colour = p.flatColour;
        r.typeCode = 0;
    }
    r.blend = static_cast<std::uint8_t>(t.blend & 0xFF);
    r.transparency = static_cast<std::uint8_t>(fixed::truncate(t.transparency) & 0xFF);

    for (int k = 0; k < 3; ++k) {
        r.coords[k] = static_cast<float>(corner[k]->position.x);
        r.coords[3 + k] = static_cast<float>(corner[k]->position.y);
        r.coords[6 + k] = static_cast<float>(corner[k]->position.z);
    }
    const fills::Row* drawn = fills::setUpFor(r.typeCode);
    float* env = drawn != nullptr ? coordSet(r, drawn->environment) : nullptr;
    if (env != nullptr)
        for (int k = 0; k < 3; ++k) {
            env[k] = static_cast<float>(std::trunc(corner[k]->normal.x * 127.0 + 128.0));
            env[3 + k] = static_cast<float>(std::trunc(corner[k]->normal.y * 127.0 + 128.0));
        }
}

} // namespace zov
