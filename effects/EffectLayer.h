#pragma once

#include <cstddef>
#include <cstdint>

namespace zov {

class Bitmap;

// One visible effect: configured by named parameters (see ParamProtocol.h),
// initialised once, then drawn into the frame every frame. The operations
// keep this order.
class EffectLayer {
public:
    // Loads files and builds what the layer needs, after its parameters.
    virtual void init() {}
    // time: the part's layer clock in seconds; reserved is always 0.
    virtual void render(Bitmap& frame, float time, int reserved) = 0;
    // key is compared case-insensitively; how value is read depends on key.
    virtual void setParam(const char* key, const void* value) = 0;
    virtual ~EffectLayer() = default;

    // Advances the state the layer carries from frame to frame by one step
    // of the feedback clock, at layer time `time`; frame gives the size only.
    virtual void step(const Bitmap& /*frame*/, float /*time*/) {}
    // Forgets the state carried from frame to frame, as after init.
    virtual void restartFeedback() {}
    // The carried state as words, kept and brought back (see Part).
    virtual std::size_t feedbackWords() const { return 0; }
    virtual void saveFeedback(std::uint32_t*& /*out*/) const {}
    virtual void loadFeedback(const std::uint32_t*& /*in*/) {}
};

} // namespace zov
