#include "effects/ShowFactories.h"

#include "effects/BubbleRingLayer.h"
#include "effects/FadingPictureLayer.h"
#include "effects/GreetsPart.h"
#include "effects/LayeredPart.h"
#include "effects/ObjectLayer.h"
#include "effects/ParticleTunnelLayer.h"
#include "effects/RippleGridLayer.h"
#include "effects/ScrollerLayer.h"
#include "effects/ShowPaths.h"
#include "effects/TrailObjectPart.h"

#include <cstdint>

namespace zov {

namespace {

using Layers = std::vector<std::unique_ptr<EffectLayer>>;

// Layers keep pointers to their values, so every value lives as long as the
// program. Integers and speeds are read as 32-bit words.
constexpr std::int32_t kTitleWidth = 271;
constexpr std::int32_t kTitleHeight = 20;
constexpr float kTitleFadeSpeed = 40.0f; // level units per second
constexpr float kBubbleDistance = 8.0f;
constexpr std::int32_t kStripWidth = 1024;
constexpr std::int32_t kStripHeight = 64;

const SlidePath kSlidePath;
const StarOrbit kStarOrbit;
const ConstantVec3Function kStarRest(1.0, 0.0, -20.0);

std::unique_ptr<ObjectLayer> makeStar(const Vec3Function& position)
{
    auto star = std::make_unique<ObjectLayer>();
    star->setParam("OBJECT FILENAME", "data/star.lwo");
    star->setParam("TEXTURE FILENAME", "data/envmap.jpg");
    star->setParam("POSITION", &position);
    return star;
}

} // namespace

std::unique_ptr<Part> makeSlidePart(int, int, const char* background)
{
    auto title = std::make_unique<FadingPictureLayer>();
    title->setParam("PICTURE FILENAME", "data/pinegrov.jpg");
    title->setParam("PICTURE WIDTH", &kTitleWidth);
    title->setParam("PICTURE HEIGHT", &kTitleHeight);
    title->setParam("FADEOUT SPEED", &kTitleFadeSpeed);
    title->setParam("POSITION", &kSlidePath);
    Layers layers;
    layers.push_back(std::move(title));
    return std::make_unique<TrailObjectPart>(background, std::move(layers));
}

std::unique_ptr<Part> makeTunnelPart(int width, int height, const char* background)
{
    ParticleTunnelParams tunnel;
    tunnel.width = width;
    tunnel.height = height;
    tunnel.span = 130.0f;
    tunnel.ringCount = 35;
    tunnel.spritesPerRing = 18;
    tunnel.spriteFile = "data/particle.jpg";
    tunnel.baseRadius = 8.0f;
    tunnel.twist = 0.06f;
    tunnel.spin = -1.6f;
    tunnel.flow = 4.0f;
    tunnel.ringSpin = -0.7f;
    Layers layers;
    layers.push_back(std::make_unique<ParticleTunnelLayer>(tunnel));
    auto star = makeStar(kStarOrbit);
    star->setParam("TRANSPARENT", nullptr);
    layers.push_back(std::move(star));
    return std::make_unique<LayeredPart>(background, std::move(layers));
}

std::unique_ptr<Part> makeScrollerPart(int, int, const char* background)
{
    auto bubbles = std::make_unique<BubbleRingLayer>();
    bubbles->setParam("DISTANCE", &kBubbleDistance);
    auto scroller = std::make_unique<ScrollerLayer>();
    scroller->setParam("FILENAME", "data/scrollie1.jpg");
    scroller->setParam("WIDTH", &kStripWidth);
    scroller->setParam("HEIGHT", &kStripHeight);
    Layers layers;
    layers.push_back(std::move(bubbles));
    layers.push_back(std::make_unique<RippleGridLayer>());
    layers.push_back(std::move(scroller));
    return std::make_unique<LayeredPart>(background, std::move(layers));
}

std::unique_ptr<Part> makeGreetsPart(int, int, const char* background)
{
    Layers layers;
    layers.push_back(makeStar(kStarRest));
    return std::make_unique<GreetsPart>(background, std::move(layers));
}

} // namespace zov
