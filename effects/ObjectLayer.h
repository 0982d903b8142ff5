#pragma once

#include "effects/EffectLayer.h"
#include "effects/ShowPaths.h"

#include <cstdint>
#include <memory>

namespace zov {

class NewRenderDriver;
class Scene;
class meshSurfaceObject;

// One environment-mapped object in a scene of its own, moved by POSITION and
// turning by (t, 0, -t). Every "BONK" pushes the clock of all object layers
// two seconds on, once per render however many arrived.
// Keys: "OBJECT FILENAME", "TEXTURE FILENAME", "POSITION", "TRANSPARENT"
// (on when the value pointer is not null), "BONK" (value ignored).
class ObjectLayer final : public EffectLayer {
public:
    static constexpr float kBonkStep = 2.0f; // seconds

    ObjectLayer();
    ~ObjectLayer() override;

    // With both file names: the object, environment-mapped, in a scene of
    // its own seen from (0, 0, -25). Without either, nothing is made and the
    // layer draws nothing.
    void init() override;
    // Draws through a render driver of the layer's own, made at the first
    // render for the frame's size.
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char* key, const void* value) override;
    // Drops a "BONK" not yet rendered.
    void restartFeedback() override;

    // Seconds gathered by all object layers' "BONK"s since the program began.
    static float bonkOffset() { return bonkOffset_; }
    // Puts the shared offset where this many "BONK"s, each rendered, leave
    // it: 0 for a show that starts afresh, more for one that opens later in
    // its course.
    static void setBonkCount(std::int64_t bonks) { setBonkOffset(static_cast<float>(bonks) * kBonkStep); }
    static void setBonkOffset(float seconds) { bonkOffset_ = seconds; }

    const char* objectFile() const { return objectFile_; }
    const char* textureFile() const { return textureFile_; }
    bool transparent() const { return transparent_; }
    const Vec3Function& position() const { return *position_; }
    // Always (t, 0, -t): the layer has no key for it.
    const Vec3Function& rotation() const { return *rotation_; }
    // The object's clock at the latest render: bonk offset + layer time.
    float objectTime() const { return objectTime_; }
    // None before init, or when init had no file names.
    const Scene* scene() const { return scene_.get(); }

private:
    inline static float bonkOffset_ = 0.0f;

    TumbleRotation tumble_;
    ConstantVec3Function origin_{0.0, 0.0, 0.0};
    const char* objectFile_ = nullptr;
    const char* textureFile_ = nullptr;
    bool transparent_ = false;
    bool bonkPending_ = false;
    const Vec3Function* position_ = &origin_;
    const Vec3Function* rotation_ = &tumble_;
    float objectTime_ = 0.0f; // seconds
    std::unique_ptr<meshSurfaceObject> object_;
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<NewRenderDriver> driver_;
};

} // namespace zov
