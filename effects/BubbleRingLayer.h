#pragma once

#include "effects/EffectLayer.h"
#include "effects/ShowPaths.h"
#include "math/Vec3.h"

#include <cstdint>
#include <vector>

namespace zov {

class Vec3Function;

// A loop of 31 points turned by ROTATION and projected into lens bubbles of
// radius 32 that recolour the frame under them (each pixel's low bytes
// spread upward) inside a black rim.
// Keys: "POSITION" (kept, not drawn by), "ROTATION", "DISTANCE" (32-bit
// float, the loop's distance from the eye).
class BubbleRingLayer final : public EffectLayer {
public:
    static constexpr int kRadius = 32;

    BubbleRingLayer();
    ~BubbleRingLayer() override;

    void init() override;
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char* key, const void* value) override;

    // A bubble centred at (sx, sy) in frame pixels; centres that are not
    // finite or lie wholly outside draw nothing.
    static void drawBubble(Bitmap& frame, double sx, double sy);

    const std::vector<Vec3>& points() const { return points_; }
    const Vec3& rotation() const { return rotation_; }
    float distance() const { return distance_; }

private:
    TumbleRotation tumble_;
    std::vector<Vec3> points_;
    Vec3 rotation_; // radians, of the latest render
    const Vec3Function* rotationFunction_ = &tumble_;
    const Vec3Function* position_ = nullptr;
    float distance_ = 30.0f;
};

namespace bubble {
// One pixel inside a bubble: v | v << 8 | v << 16, cut to 32 bits.
inline std::uint32_t recolour(std::uint32_t v) { return v | (v << 8) | (v << 16); }
// The plain per-offset loop, square root and all, that drawBubble equals.
void drawReference(Bitmap& frame, double sx, double sy);
} // namespace bubble

} // namespace zov
