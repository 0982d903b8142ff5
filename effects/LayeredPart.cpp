#include "effects/LayeredPart.h"

#include "effects/EffectLayer.h"
#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "runtime/ActionTable.h"

#include <cstdlib>

namespace zov {

LayeredPart::LayeredPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers)
    : backgroundName_(backgroundName), layers_(std::move(layers))
{
}

LayeredPart::~LayeredPart()
{
    // First to last, as they were drawn: the layers' teardown lines then come
    // in the same order whichever C++ library destroys the vector (the web
    // build's goes from the back).
    for (auto& layer : layers_)
        layer.reset();
}

void LayeredPart::init(Bitmap& frame, NewRenderDriver&)
{
    setActionTable(std::make_unique<ActionTable>());
    // A name no loader accepts leaves the part without a background rather
    // than with a picture of unknown contents.
    background_ = ImageLoaderRegistry().loadPicture(backgroundName_, {frame.width(), frame.height()});
    for (auto& layer : layers_)
        if (layer)
            layer->init();
}

void LayeredPart::render(Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    runDueSteps(renderDriver, frame, time);
    const float t = layerClock(time);
    if (background_)
        background_->copyTo(frame);
    for (auto& layer : layers_)
        if (layer)
            layer->render(frame, t, 0);
}

void LayeredPart::step(NewRenderDriver&, const Bitmap& frame, float time)
{
    const float t = layerClock(time);
    for (auto& layer : layers_)
        if (layer)
            layer->step(frame, t);
}

void LayeredPart::restartFeedback()
{
    for (auto& layer : layers_)
        if (layer)
            layer->restartFeedback();
}

std::size_t LayeredPart::feedbackWords() const
{
    std::size_t words = 0;
    for (const auto& layer : layers_)
        if (layer)
            words += layer->feedbackWords();
    return words;
}

void LayeredPart::saveFeedback(std::uint32_t*& out) const
{
    for (const auto& layer : layers_)
        if (layer)
            layer->saveFeedback(out);
}

void LayeredPart::loadFeedback(const std::uint32_t*& in)
{
    for (auto& layer : layers_)
        if (layer)
            layer->loadFeedback(in);
}

void LayeredPart::randomizeOffset()
{
    timeOffset_ = static_cast<float>(std::rand() & 127);
}

EffectLayer* LayeredPart::layer(int index)
{
    if (index < 0 || index >= layerCount())
        return nullptr;
    return layers_[static_cast<std::size_t>(index)].get();
}

} // namespace zov
