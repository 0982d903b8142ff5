#pragma once

#include "effects/EffectLayer.h"
#include "image/Bitmap.h"

#include <cmath>
#include <cstdint>
#include <memory>

namespace zov {

class NewRenderDriver;

// What a tunnel is made of, in the order the show gives it.
struct ParticleTunnelParams {
    std::int32_t width = 0; // pixels of the frames it draws into
    std::int32_t height = 0;
    float span = 0.0f; // depth units the rings spread over
    std::int32_t ringCount = 0;
    std::int32_t spritesPerRing = 0;
    const char* spriteFile = nullptr; // a 64 x 64 picture; not copied
    float baseRadius = 0.0f;          // of the rings' centre path
    float twist = 0.0f;               // radians per unit of depth
    float spin = 0.0f;                // radians per second, of the centre path
    float flow = 0.0f;                // depth units per second, towards the eye
    float ringSpin = 0.0f;            // radians per second, of the sprites on a ring
};

// Rings of sprites flowing towards the eye along a winding path, drawn through
// a render driver of its own and never hidden. No keys.
class ParticleTunnelLayer final : public EffectLayer {
public:
    static constexpr int kSpriteSize = 64;
    static constexpr int kAlwaysInFront = 2000000000; // depth stamp

    // Loads the sprite now (announcing the loader) and makes the driver.
    explicit ParticleTunnelLayer(const ParticleTunnelParams& params);
    ~ParticleTunnelLayer() override;

    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char*, const void*) override {}

    // Calls draw(depth) for each ring at time t, nearest first; returns how
    // many. Counts of 0 or less draw nothing.
    template <typename Draw> static std::int64_t forEachRing(const ParticleTunnelParams& params, float time, Draw draw);

    const ParticleTunnelParams& params() const { return params_; }
    // None when no loader takes the sprite's name.
    const Bitmap* sprite() const { return sprite_.get(); }
    // Sprites handed to the driver by the latest render.
    std::int64_t spritesDrawn() const { return spritesDrawn_; }

private:
    // Returns how many sprites it drew.
    std::int64_t drawRing(Bitmap& frame, float time, float depth);

    ParticleTunnelParams params_;
    std::unique_ptr<Bitmap> sprite_;
    Bitmap targetSize_; // describes the frames to the driver; no pixels
    std::unique_ptr<NewRenderDriver> driver_;
    std::int64_t spritesDrawn_ = 0;
};

template <typename Draw>
std::int64_t ParticleTunnelLayer::forEachRing(const ParticleTunnelParams& params, float time, Draw draw)
{
    if (!(params.span > 0.0f) || params.ringCount <= 0 || params.spritesPerRing <= 0)
        return 0;
    const float step = params.span / static_cast<float>(params.ringCount);
    const float offset = std::fmod(time * params.flow, step);
    // Single-precision steps may overshoot the count by one ring; the bound
    // also ends the walk where a step too small to move e would never end it.
    const std::int64_t most = std::int64_t{params.ringCount} + 1;
    std::int64_t rings = 0;
    float e = 1.0f;
    do {
        const float x = offset + e;
        draw(static_cast<float>(x * x * x * 0.0001));
        e += step;
    } while (++rings < most && e < static_cast<double>(params.span) + 1.0);
    return rings;
}

} // namespace zov
