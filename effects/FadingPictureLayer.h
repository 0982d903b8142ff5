#pragma once

#include "effects/EffectLayer.h"

#include <cstdint>
#include <memory>

namespace zov {

class Vec3Function;

// A picture that travels along its POSITION path, added onto the frame, and
// fades out from 3 seconds of its clock on (or from a "FADEOUT").
// Keys: "PICTURE FILENAME", "PICTURE WIDTH", "PICTURE HEIGHT",
// "FADEOUT SPEED" (a 32-bit float, level units a second), "POSITION",
// "FADEOUT" (the byte the value points to).
class FadingPictureLayer final : public EffectLayer {
public:
    static constexpr float kFadeFrom = 3.0f; // seconds of the layer clock

    FadingPictureLayer();
    ~FadingPictureLayer() override;

    void init() override;
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char* key, const void* value) override;
    // Back to drawing, as after init: the fade begins again at 3 seconds.
    void restartFeedback() override;

    // 255 - (time - fadeStart) * speed, clamped to 0..255; NaN gives 0.
    static int fadeLevel(float time, float fadeStart, float speed);

    // None when a name or size is missing or no loader takes the name.
    const Bitmap* picture() const { return picture_.get(); }
    bool fading() const { return fading_; }
    float fadeStart() const { return fadeStart_; }

private:
    std::unique_ptr<Bitmap> picture_;
    const char* fileName_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    float fadeSpeed_ = 0.0f; // level units per second
    const Vec3Function* position_ = nullptr;
    float fadeStart_ = -1.0f; // seconds
    bool fading_ = false;
    float lastTime_ = -1.0f; // seconds; the time of the latest render
};

} // namespace zov
