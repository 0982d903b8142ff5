#pragma once

#include "effects/EffectLayer.h"
#include "effects/LayeredPart.h"

#include <memory>

namespace zov {

// The first part: its layers, then a spinning object that leaves light
// trails: the object is drawn into a trail bitmap that is blurred every
// frame and added onto the frame.
class TrailObjectPart final : public LayeredPart {
public:
    TrailObjectPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers);
    ~TrailObjectPart() override;

    // The layered part's init, then the trail bitmap at the frame's size.
    void init(Bitmap& frame, NewRenderDriver& renderDriver) override;
    // time: show clock seconds; the object turns and swings by it.
    void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) override;

    // None before init.
    const Bitmap* trail() const { return trail_.get(); }

private:
    std::unique_ptr<Bitmap> trail_;
};

} // namespace zov
