#include "engine3d/MeshObject.h"

#include "engine3d/Surface.h"
#include "image/ReleaseLines.h"

#include <cstdio>

namespace zov {

MeshObject::~MeshObject()
{
    // In order, so that a shared surface is released by its last polygon.
    for (auto& p : polygons_)
        p.reset();
}

void MeshObject::updateMatrix()
{
    Matrix turnX, turnY, turnZ, size, move;
    turnX.rotationX(-rotation.x);
    turnY.rotationY(-rotation.y);
    turnZ.rotationZ(-rotation.z);
    size.scale(scale.x, scale.y, scale.z);
    move.translation(position.x, position.y, position.z);
    normalMatrix = turnX.times(turnY).times(turnZ);
    objectMatrix = normalMatrix.times(size).times(move);
}

int MeshObject::addPolygon(std::unique_ptr<SurfacePolygon> polygon)
{
    if (!polygon || polygonCount() >= kMaxPolygons || polygon->vertexCount != 3)
        return -1;
    for (int k = 0; k < 3; ++k)
        if (sourceVertex(polygon->vertices[k]) == nullptr)
            return -1;
    polygon->computeNormal(source_[static_cast<std::size_t>(polygon->vertices[0])].position,
                           source_[static_cast<std::size_t>(polygon->vertices[1])].position,
                           source_[static_cast<std::size_t>(polygon->vertices[2])].position);
    polygons_.push_back(std::move(polygon));
    visible_.push_back(0xFF);
    output_.push_back(nullptr);
    return polygonCount() - 1;
}

meshSurfaceObject::meshSurfaceObject() : surfaces_(std::make_shared<SurfaceTable>()) {}

meshSurfaceObject::~meshSurfaceObject()
{
    announceRelease("about to execute meshSurfaceObject destructor \n");
}

void meshSurfaceObject::shareSurfaces(const std::shared_ptr<SurfaceTable>& table)
{
    if (sharesSurfaces == 1 && table)
        surfaces_ = table;
}

void meshSurfaceObject::setSurfaceTable(std::shared_ptr<SurfaceTable> table)
{
    if (table)
        surfaces_ = std::move(table);
}

} // namespace zov
