#include "engine3d/Scene.h"

#include "engine3d/Surface.h"
#include "engine3d/TriangleClipper.h"
#include "raster/FillTable.h"
#include "raster/NewRenderDriver.h"

namespace zov {

Scene::Scene()
    : surfaceTable_(std::make_shared<SurfaceTable>()), allTriangles_(new RasterTriangle*[kMaxTriangles]),
      sorter_(kMaxTriangles)
{
}

Scene::~Scene() = default;

int Scene::addObject(SceneObject* object)
{
    if (object == nullptr || objectCount_ >= kMaxObjects)
        return -1;
    object->shareSurfaces(surfaceTable_);
    objects_[objectCount_++] = object;
    return 0;
}

Camera* Scene::camera(int index)
{
    return index >= 0 && index < kCameras ? &cameras_[index] : nullptr;
}

void Scene::setCameraPosition(double x, double y, double z)
{
    if (Camera* c = camera(currentCamera))
        c->position.set(x, y, z);
}

void Scene::setCameraRotation(double x, double y, double z)
{
    if (Camera* c = camera(currentCamera))
        c->rotation.set(x, y, z);
}

void Scene::animate(Camera& cam, double keyTime)
{
    const float objectTime = static_cast<float>(keyTime);
    for (int i = 0; i < objectCount_; ++i) {
        SceneObject& o = *objects_[i];
        if (o.animationOff != 0)
            continue;
        o.positionChannel.evaluateInto(objectTime, o.position);
        o.rotationChannel.evaluateInto(objectTime, o.rotation);
        o.scaleChannel.evaluateInto(objectTime, o.scale);
    }
    if (cam.animated != 0) {
        cam.positionChannel.evaluateInto(keyTime, cam.position);
        cam.rotationChannel.evaluateInto(keyTime, cam.rotation);
    }
}

void Scene::collect(Camera& cam, double time)
{
    FogParameters fog{fogNear, fogFar, fogColour};
    const FogParameters* fogArg = fogEnabled != 0 ? &fog : nullptr;
    triangleCount_ = 0;
    for (int i = drawCount_ - 1; i >= 0; --i) {
        SceneObject& o = *drawOrder_[i];
        if (!o.producesTriangles())
            continue;
        const TriangleBatch batch = o.render(cam, time, frameCounter_, fogArg);
        if (batch.triangles == nullptr)
            continue;
        // Past the limit the rest of the frame's triangles are dropped.
        for (int k = 0; k < batch.count && triangleCount_ < kMaxTriangles; ++k)
            allTriangles_[triangleCount_++] = batch.triangles[k];
    }
}

void Scene::dispatch(Bitmap& target, NewRenderDriver& driver)
{
    const bool allModes = drawAllModes != 0;
    const bool fog = fogEnabled != 0;
    for (int i = 0; i < triangleCount_; ++i) {
        // Sorted triangles lie all over their meshes: fetch ahead.
        if (i + 8 < triangleCount_)
            __builtin_prefetch(allTriangles_[i + 8]);
        if (i + 4 < triangleCount_) {
            __builtin_prefetch(allTriangles_[i + 4]->coords);
            __builtin_prefetch(allTriangles_[i + 4]->uvA);
        }
        RasterTriangle& t = *allTriangles_[i];
        const int slot = fills::slotFor(t.typeCode, allModes, fog);
        if (slot < 0)
            continue;
        const ClipResult clipped = clipTriangle(t, spare_.triangle, near, far);
        if ((clipped.flags & ClipResult::kFirst) != 0)
            driver.fillBySlot(slot, *clipped.first, target, frameCounter_);
        if ((clipped.flags & ClipResult::kSecond) != 0)
            driver.fillBySlot(slot, *clipped.second, target, frameCounter_);
    }
}

int Scene::render(Bitmap& target, NewRenderDriver& driver, double time, int)
{
    Camera* cam = camera(currentCamera);
    if (cam == nullptr)
        return frameCounter_;

    animate(*cam, timeScale * time);
    for (int i = 0; i < objectCount_; ++i)
        objects_[i]->updateMatrix();
    for (int i = 0; i < objectCount_; ++i)
        drawOrder_[i] = objects_[i];
    drawCount_ = objectCount_;

    if ((frameCounter_ & 511) == 0) {
        frameCounter_ = 0;
        driver.clearDepth();
    }

    collect(*cam, time);
    if (depthSort == 1)
        sorter_.sort(allTriangles_.get(), triangleCount_);

    driver.fogNear = fogNear;
    driver.fogFar = fogFar;
    driver.fogRange = fogNear - fogFar;
    driver.fogColour = fogColour;
    dispatch(target, driver);

    for (int i = drawCount_ - 1; i >= 0; --i)
        if (!drawOrder_[i]->producesTriangles())
            drawOrder_[i]->draw(target, driver, *cam, time, frameCounter_);

    return ++frameCounter_;
}

} // namespace zov
