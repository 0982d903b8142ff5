#include "effects/ShowFactories.h"

#include "effects/EffectLayer.h"
#include "effects/LayeredPart.h"

namespace zov {

// For now each part is its background alone, so the show already changes
// pictures with the music; the effects join as their layers exist.

std::unique_ptr<Part> makeSlidePart(int, int)
{
    return std::make_unique<LayeredPart>("data/bak4.jpg", std::vector<std::unique_ptr<EffectLayer>>{});
}

std::unique_ptr<Part> makeTunnelPart(int, int)
{
    return std::make_unique<LayeredPart>("data/bak2.jpg", std::vector<std::unique_ptr<EffectLayer>>{});
}

std::unique_ptr<Part> makeScrollerPart(int, int)
{
    return std::make_unique<LayeredPart>("data/bak1.jpg", std::vector<std::unique_ptr<EffectLayer>>{});
}

std::unique_ptr<Part> makeGreetsPart(int, int)
{
    return std::make_unique<LayeredPart>("data/bak3.jpg", std::vector<std::unique_ptr<EffectLayer>>{});
}

} // namespace zov
