#pragma once

#include "effects/EffectLayer.h"
#include "effects/LayeredPart.h"

#include <memory>

namespace zov {

class Scene;
class meshSurfaceObject;

// The first part: its layers, then a spinning object that leaves light
// trails: the object is drawn into a trail bitmap that is blurred at every
// feedback step and added onto the frame.
class TrailObjectPart final : public LayeredPart {
public:
    TrailObjectPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers);
    ~TrailObjectPart() override;

    // The layered part's init, then the cube of data/testkub.lwo with its own
    // surfaces in a scene seen from (0, 0, -40), and the trail bitmap at the
    // frame's size.
    void init(Bitmap& frame, NewRenderDriver& renderDriver) override;
    // The layered part's render (feedback steps included), then the trail
    // added onto the frame.
    void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) override;
    // The layers' step, then the trail blurred and the cube drawn into it at
    // show time `time`, by which it turns and swings, through the shared
    // render driver.
    void step(NewRenderDriver& renderDriver, const Bitmap& frame, float time) override;
    void restartFeedback() override;
    std::size_t feedbackWords() const override;
    void saveFeedback(std::uint32_t*& out) const override;
    void loadFeedback(const std::uint32_t*& in) override;

    // None before init.
    const Bitmap* trail() const { return trail_.get(); }

private:
    std::unique_ptr<meshSurfaceObject> object_;
    std::unique_ptr<Scene> scene_;
    std::unique_ptr<Bitmap> trail_;
};

} // namespace zov
