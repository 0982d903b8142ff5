#include "effects/FadingPictureLayer.h"

#include "effects/ParamProtocol.h"
#include "effects/Vec3Function.h"
#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "raster/FixedPoint.h"

#include <climits>

namespace zov {

FadingPictureLayer::FadingPictureLayer() = default;
FadingPictureLayer::~FadingPictureLayer() = default;

void FadingPictureLayer::setParam(const char* key, const void* value)
{
    if (isParamKey(key, "PICTURE FILENAME"))
        fileName_ = static_cast<const char*>(value);
    if (isParamKey(key, "PICTURE WIDTH"))
        readParamWord(value, width_);
    if (isParamKey(key, "PICTURE HEIGHT"))
        readParamWord(value, height_);
    if (isParamKey(key, "FADEOUT SPEED"))
        readParamWord(value, fadeSpeed_);
    if (isParamKey(key, "POSITION") && value != nullptr)
        position_ = static_cast<const Vec3Function*>(value);
    if (isParamKey(key, "FADEOUT") && value != nullptr) {
        readParamByte(value, fading_);
        fadeStart_ = lastTime_;
    }
}

void FadingPictureLayer::restartFeedback()
{
    fadeStart_ = -1.0f;
    fading_ = false;
    lastTime_ = -1.0f;
}

void FadingPictureLayer::init()
{
    if (fileName_ == nullptr || width_ <= 0 || height_ <= 0)
        return;
    picture_ = ImageLoaderRegistry().loadPicture(fileName_, {width_, height_});
}

int FadingPictureLayer::fadeLevel(float time, float fadeStart, float speed)
{
    const float level = 255.0f - (time - fadeStart) * speed;
    return fixed::truncateInto(level, 0, 255);
}

void FadingPictureLayer::render(Bitmap& frame, float time, int)
{
    if (time > kFadeFrom) {
        fadeStart_ = kFadeFrom;
        fading_ = true;
    }
    lastTime_ = time;
    if (!picture_ || position_ == nullptr)
        return;
    const Vec3 p = position_->at(time);
    const int x = fixed::truncateInto(p.x, INT_MIN, INT_MAX);
    const int y = fixed::truncateInto(p.y, INT_MIN, INT_MAX);
    if (fading_)
        picture_->fadeAt(frame, x, y, fadeLevel(time, fadeStart_, fadeSpeed_));
    else
        picture_->addAt(frame, x, y);
}

} // namespace zov
