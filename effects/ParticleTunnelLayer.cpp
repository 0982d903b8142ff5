#include "effects/ParticleTunnelLayer.h"

#include "image/ImageLoaderRegistry.h"
#include "raster/NewRenderDriver.h"
#include "raster/Sprite.h"

#include <cmath>

namespace zov {

namespace {

constexpr double kFullTurn = 6.283185307179586;
constexpr double kRingRadius = 20.0; // of the sprites around a ring's centre

} // namespace

ParticleTunnelLayer::ParticleTunnelLayer(const ParticleTunnelParams& params) : params_(params)
{
    sprite_ = ImageLoaderRegistry().loadPicture(params_.spriteFile, {kSpriteSize, kSpriteSize, false, true});
    targetSize_.setSize(params_.width, params_.height);
    driver_ = std::make_unique<NewRenderDriver>(targetSize_);
}

ParticleTunnelLayer::~ParticleTunnelLayer() = default;

void ParticleTunnelLayer::render(Bitmap& frame, float time, int)
{
    spritesDrawn_ = 0;
    if (!sprite_)
        return;
    forEachRing(params_, time, [&](float depth) { spritesDrawn_ += drawRing(frame, time, depth); });
}

std::int64_t ParticleTunnelLayer::drawRing(Bitmap& frame, float time, float depth)
{
    const float angleStep = static_cast<float>(kFullTurn / params_.spritesPerRing);
    const double s = depth;
    const double alpha = static_cast<double>(params_.spin * time) + s * params_.twist;
    const double r = s * 0.01 + params_.baseRadius;
    const double cx = r * std::cos(alpha);
    const double cy = r * std::sin(alpha * 0.5);
    const double size = std::pow(s, 0.7) * 0.1 + 2.0;
    Sprite sprite;
    sprite.image = sprite_.get();
    sprite.size.set(size, size, 0.0);
    // As with the rings, single precision draws one sprite more than the
    // count: the last on top of the first.
    const std::int64_t most = std::int64_t{params_.spritesPerRing} + 1;
    std::int64_t drawn = 0;
    for (float a = 0.0f; drawn < most && a < kFullTurn; a += angleStep, ++drawn) {
        const double beta = static_cast<double>(time * params_.ringSpin) + a;
        sprite.position.set(kRingRadius * std::cos(beta) + cx, kRingRadius * std::sin(beta) + cy, s);
        driver_->drawSprite(sprite, frame, kAlwaysInFront);
    }
    return drawn;
}

} // namespace zov
