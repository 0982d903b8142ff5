#pragma once

#include "engine3d/TcbChannel.h"
#include "math/Matrix.h"
#include "math/Vec3.h"

#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;
class RenderDriver;
class SurfaceTable;
struct Camera;
struct RasterTriangle;

// The scene's fog, handed to the objects that render triangles.
struct FogParameters {
    float near = 0.0f; // 1/z at and above which there is no fog
    float far = 0.0f;  // 1/z below which fog is full
    std::uint32_t colour = 0;
};

// Triangles an object returns for one frame; they stay valid until the object
// renders again.
struct TriangleBatch {
    RasterTriangle* const* triangles = nullptr;
    int count = 0;
};

// A transform node that a Scene draws. The virtual operations are in the
// order of the object interface (draw, render, producesTriangles, flagByte,
// destructor), then the transform interface (updateMatrix).
class SceneObject {
public:
    SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Objects that draw themselves (producesTriangles false) do it here, after
    // the scene's triangles, with the frame counter as the depth stamp.
    virtual void draw(Bitmap& /*target*/, RenderDriver& /*driver*/, Camera& /*camera*/, double /*time*/,
                      int /*frameCounter*/)
    {
    }
    virtual TriangleBatch render(Camera& /*camera*/, double /*time*/, int /*frameCounter*/,
                                 const FogParameters* /*fog*/)
    {
        return {};
    }
    virtual bool producesTriangles() const = 0;
    virtual std::uint8_t flagByte() const = 0;
    virtual ~SceneObject() = default;

    // Called by the scene every frame before anything renders.
    virtual void updateMatrix() {}

    // Offered the scene's surface table when the object is added to a scene;
    // objects that share surfaces take it in place of their own.
    virtual void shareSurfaces(const std::shared_ptr<SurfaceTable>& /*table*/) {}

    TcbChannel positionChannel;
    Vec3 position{0, 0, 0};
    TcbChannel rotationChannel;
    Vec3 rotation{0, 0, 0}; // Euler angles, radians
    TcbChannel scaleChannel;
    Vec3 scale{0, 0, 0}; // builders set (1, 1, 1)
    Matrix objectMatrix; // object to scene, made by updateMatrix
    // The scene evaluates the three channels only while this is 0.
    int animationOff = 1;
};

} // namespace zov
