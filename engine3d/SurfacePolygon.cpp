#include "engine3d/SurfacePolygon.h"

#include "image/ReleaseLines.h"

namespace zov {

SurfacePolygon::~SurfacePolygon()
{
    texture.reset();
    announceRelease("about to try imageCoords \n");
    announceRelease("about to try envCoords \n");
    announceRelease("about to try bumpCoords \n");
    announceRelease("about to try transpCoords \n");
    announceRelease("about to try pInfo \n");
    announceRelease("} del surfpoly \n");
}

void SurfacePolygon::computeNormal(const Vec3& p, const Vec3& q, const Vec3& r)
{
    objectNormal = q.minus(p).cross(r.minus(q));
    objectNormal.normalize();
}

} // namespace zov
