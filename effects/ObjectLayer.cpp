#include "effects/ObjectLayer.h"

#include "effects/ParamProtocol.h"

namespace zov {

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
    // The object and its scene are loaded here once the 3D engine exists.
}

void ObjectLayer::render(Bitmap&, float time, int)
{
    if (bonkPending_) {
        bonkPending_ = false;
        bonkOffset_ += kBonkStep;
    }
    objectTime_ = bonkOffset_ + time;
    // The scene renders here, through a driver of the layer's own, once the
    // 3D engine exists: the object at position_ and rotation_ of objectTime_.
}

} // namespace zov
