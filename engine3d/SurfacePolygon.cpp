#include "engine3d/SurfacePolygon.h"

#include <cstdio>

namespace zov {

SurfacePolygon::~SurfacePolygon()
{
    texture.reset();
    std::printf("about to try imageCoords \n");
    std::printf("about to try envCoords \n");
    std::printf("about to try bumpCoords \n");
    std::printf("about to try transpCoords \n");
    std::printf("about to try pInfo \n");
    std::printf("} del surfpoly \n");
}

void SurfacePolygon::computeNormal(const Vec3& p, const Vec3& q, const Vec3& r)
{
    objectNormal = q.minus(p).cross(r.minus(q));
    objectNormal.normalize();
}

} // namespace zov
