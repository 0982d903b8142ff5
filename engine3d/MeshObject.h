#pragma once

#include "engine3d/SurfacePolygon.h"
#include "engine3d/VertexObject.h"
#include "math/Matrix.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zov {

class SurfaceTable;

// A vertex store with polygons. Its matrices turn by the negated angles.
class MeshObject : public VertexObject {
public:
    static constexpr int kMaxPolygons = 20000;

    ~MeshObject() override;

    bool producesTriangles() const override { return true; }
    // normalMatrix = rotationX(-rx) rotationY(-ry) rotationZ(-rz);
    // objectMatrix = normalMatrix scale(scale) translation(position).
    void updateMatrix() override;

    // Takes the polygon, visible, and returns its index; -1 (dropping it) when
    // the mesh is full or it names a vertex the store does not hold. Its
    // object-space normal is computed here.
    int addPolygon(std::unique_ptr<SurfacePolygon> polygon);
    int polygonCount() const { return static_cast<int>(polygons_.size()); }
    SurfacePolygon* polygon(int i)
    {
        return i >= 0 && i < polygonCount() ? polygons_[static_cast<std::size_t>(i)].get() : nullptr;
    }
    // Polygon i is rendered only while its byte is non-zero (0xFF when added).
    void setVisible(int i, std::uint8_t value)
    {
        if (i >= 0 && i < polygonCount())
            visible_[static_cast<std::size_t>(i)] = value;
    }

    Matrix normalMatrix; // the rotation of objectMatrix, for normals

protected:
    std::vector<std::unique_ptr<SurfacePolygon>> polygons_;
    std::vector<std::uint8_t> visible_;
    // One entry per polygon: the render never needs more, and never allocates.
    std::vector<RasterTriangle*> output_;
};

// A mesh with surfaces, as the object import builds it: renders its visible
// polygons into triangles, lit and textured by their surfaces.
class meshSurfaceObject : public MeshObject {
public:
    meshSurfaceObject();
    // Prints "about to execute meshSurfaceObject destructor \n".
    ~meshSurfaceObject() override;

    // Transforms, lights and sets up one triangle per visible polygon that
    // has a surface; time, frameCounter and fog are not used.
    TriangleBatch render(Camera& camera, double time, int frameCounter, const FogParameters* fog) override;
    std::uint8_t flagByte() const override { return spareByte_; }
    void shareSurfaces(const std::shared_ptr<SurfaceTable>& table) override;

    SurfaceTable& surfaces() { return *surfaces_; }
    const std::shared_ptr<SurfaceTable>& surfaceTable() const { return surfaces_; }
    void setSurfaceTable(std::shared_ptr<SurfaceTable> table);
    int triangleCount() const { return triangleCount_; }

private:
    void setUpTriangle(SurfacePolygon& p);

    std::shared_ptr<SurfaceTable> surfaces_;
    SurfacePolygon sparePolygon_;
    int triangleCount_ = 0;
    std::uint8_t spareByte_ = 0;
};

} // namespace zov
