#pragma once

#include "effects/EffectLayer.h"
#include "effects/ShowPaths.h"

namespace zov {

// One environment-mapped object in a scene of its own, moved by POSITION and
// turning by (t, 0, -t). Every "BONK" pushes the clock of all object layers
// two seconds on, once per render however many arrived.
// Keys: "OBJECT FILENAME", "TEXTURE FILENAME", "POSITION", "TRANSPARENT"
// (on when the value pointer is not null), "BONK" (value ignored).
//
// The scene itself comes with the 3D engine: until then init creates nothing
// and render only keeps the object's clock.
class ObjectLayer final : public EffectLayer {
public:
    static constexpr float kBonkStep = 2.0f; // seconds

    ObjectLayer();
    ~ObjectLayer() override;

    void init() override;
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char* key, const void* value) override;

    // Seconds gathered by all object layers' "BONK"s since the program began.
    static float bonkOffset() { return bonkOffset_; }

    const char* objectFile() const { return objectFile_; }
    const char* textureFile() const { return textureFile_; }
    bool transparent() const { return transparent_; }
    const Vec3Function& position() const { return *position_; }
    // Always (t, 0, -t): the layer has no key for it.
    const Vec3Function& rotation() const { return *rotation_; }
    // The object's clock at the latest render: bonk offset + layer time.
    float objectTime() const { return objectTime_; }

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
};

} // namespace zov
