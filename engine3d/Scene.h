#pragma once

#include "engine3d/Camera.h"
#include "engine3d/DepthSort.h"
#include "engine3d/SceneObject.h"
#include "raster/RasterTriangle.h"

#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;
class NewRenderDriver;
class SurfaceTable;

// The 3D world of one effect: its objects (not owned), four cameras, the near
// and far distances and the buffers of one frame, all allocated here so that
// a frame allocates nothing. Renders back to front through a render driver.
class Scene {
public:
    static constexpr int kMaxObjects = 30;
    static constexpr int kMaxTriangles = 8000;
    static constexpr int kCameras = 4;

    Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene();

    // 0, or -1 (nothing added) when the scene is full. An object that shares
    // surfaces takes this scene's surface table.
    int addObject(SceneObject* object);
    int objectCount() const { return objectCount_; }

    // Position and rotation (radians) of the current camera; nothing when
    // there is none.
    void setCameraPosition(double x, double y, double z);
    void setCameraRotation(double x, double y, double z);
    // Camera `index`, or null outside 0..3.
    Camera* camera(int index);

    // One frame at `time` seconds: animation, matrices, triangles of every
    // object (last added first), depth sort, near clipping, one fill per
    // triangle, then the objects that draw themselves. Returns the new frame
    // counter, which is every fill's depth stamp; the depth buffer is cleared
    // when the counter restarts (every 512 frames). Without a current camera
    // nothing is drawn and the counter stays. The last argument is not read.
    int render(Bitmap& target, NewRenderDriver& driver, double time, int unused = 1);

    int frameCounter() const { return frameCounter_; }
    // The next render starts the counter again: it clears the depth buffer
    // and stamps 0, so that what it draws does not depend on the renders
    // before it.
    void restartFrameCounter() { frameCounter_ = 0; }
    // Triangles collected by the last render (past kMaxTriangles are dropped).
    int triangleCount() const { return triangleCount_; }
    const std::shared_ptr<SurfaceTable>& surfaceTable() const { return surfaceTable_; }

    int currentCamera = 0;
    std::uint8_t fogEnabled = 0; // the fog variants of the type 33 and 34 fills
    float fogNear = 0.0f;        // 1/z at and above which there is no fog
    float fogFar = 0.0f;         // 1/z below which fog is full
    std::uint32_t fogColour = 0;
    std::uint8_t drawAllModes = 1; // 0: only type codes 33 and 34, without depth
    std::uint8_t depthSort = 1;
    float near = 5.0f;  // camera-space z
    float far = 500.0f; // camera-space z
    int timeScale = 15; // key units per second

private:
    void animate(Camera& camera, double keyTime);
    void collect(Camera& camera, double time);
    void dispatch(Bitmap& target, NewRenderDriver& driver);

    int frameCounter_ = 0;
    SceneObject* objects_[kMaxObjects] = {};
    SceneObject* drawOrder_[kMaxObjects] = {};
    std::shared_ptr<SurfaceTable> surfaceTable_;
    int objectCount_ = 0;
    int drawCount_ = 0;
    Camera cameras_[kCameras];
    int triangleCount_ = 0;
    std::unique_ptr<RasterTriangle*[]> allTriangles_;
    DepthSorter sorter_;
    OwnedRasterTriangle spare_;
};

} // namespace zov
