#include "effects/ObjectLayer.h"

#include "effects/ParamProtocol.h"
#include "engine3d/Scene.h"
#include "lwo/ObjectBuilder.h"
#include "raster/NewRenderDriver.h"

namespace zov {

namespace {

constexpr double kCameraZ = -25.0;
constexpr float kNear = 2.0f;    // the orbiting star comes within 6 units of the camera
constexpr float kFar = 1000.0f;

} // namespace

ObjectLayer::ObjectLayer() = default;
ObjectLayer::~ObjectLayer() = default;

void ObjectLayer::setParam(const char* key, const void* value)
{
    if (isParamKey(key, "OBJECT FILENAME"))
        objectFile_ = static_cast<const char*>(value);
    if (isParamKey(key, "TEXTURE FILENAME"))
        textureFile_ = static_cast<const char*>(value);
    if (isParamKey(key, "POSITION") && value != nullptr)
        position_ = static_cast<const Vec3Function*>(value);
    if (isParamKey(key, "TRANSPARENT"))
        transparent_ = value != nullptr;
    if (isParamKey(key, "BONK"))
        bonkPending_ = true;
}

void ObjectLayer::init()
{
    if (objectFile_ == nullptr || textureFile_ == nullptr)
        return;
    object_ = loadEnvMappedObject(objectFile_, textureFile_, transparent_);
    scene_ = std::make_unique<Scene>();
    scene_->addObject(object_.get());
    scene_->setCameraPosition(0.0, 0.0, kCameraZ);
    scene_->setCameraRotation(0.0, 0.0, 0.0);
    scene_->near = kNear;
    scene_->far = kFar;
}

void ObjectLayer::restartFeedback()
{
    bonkPending_ = false;
}

void ObjectLayer::render(Bitmap& frame, float time, int)
{
    if (bonkPending_) {
        bonkPending_ = false;
        bonkOffset_ += kBonkStep;
    }
    objectTime_ = bonkOffset_ + time;
    if (!scene_)
        return;
    object_->position = position_->at(objectTime_);
    object_->rotation = rotation_->at(objectTime_);
    if (!driver_) {
        driver_ = std::make_unique<NewRenderDriver>(frame);
        driver_->clearDepth();
    }
    // Every frame is judged on its own depths, not on how many came before.
    scene_->restartFrameCounter();
    scene_->render(frame, *driver_, static_cast<double>(objectTime_), 1);
}

} // namespace zov
