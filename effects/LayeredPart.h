#pragma once

#include "runtime/Part.h"

#include <memory>
#include <vector>

namespace zov {

class Bitmap;
class EffectLayer;

// A part made of a background picture and layers drawn over it in order,
// all on one layer clock: seconds since the part's loop began, plus the
// part's time offset.
class LayeredPart : public Part {
public:
    // backgroundName is not copied (a string literal). The part owns its
    // layers.
    LayeredPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers);
    ~LayeredPart() override;

    // Creates the action table, loads the background at the frame's size,
    // then initialises the layers in order.
    void init(Bitmap& frame, NewRenderDriver& renderDriver) override;
    // Runs the feedback steps due, then copies the background into the
    // frame and renders every layer.
    void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) override;
    // Steps every layer at the layer clock of `time`.
    void step(NewRenderDriver& renderDriver, const Bitmap& frame, float time) override;
    void restartFeedback() override;
    std::size_t feedbackWords() const override;
    void saveFeedback(std::uint32_t*& out) const override;
    void loadFeedback(const std::uint32_t*& in) override;
    // A whole number of seconds, 0 to 127.
    void randomizeOffset() override;
    EffectLayer* layer(int index) override;

    int layerCount() const { return static_cast<int>(layers_.size()); }
    float timeOffset() const { return timeOffset_; }
    const char* backgroundName() const { return backgroundName_; }
    // None before init, or when no loader accepts the background's name.
    const Bitmap* background() const { return background_.get(); }

protected:
    // (time - start time) + time offset.
    float layerClock(float time) const { return (time - startTime()) + timeOffset_; }

private:
    const char* backgroundName_;
    std::unique_ptr<Bitmap> background_;
    std::vector<std::unique_ptr<EffectLayer>> layers_;
    float timeOffset_ = 0.0f; // seconds
};

} // namespace zov
