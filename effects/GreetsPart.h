#pragma once

#include "effects/EffectLayer.h"
#include "effects/LayeredPart.h"

#include <memory>

namespace zov {

// The fourth part: its layers, then three masked portraits taking turns four
// times a second and a tall greetings picture swinging up and down over the
// left half of the frame.
class GreetsPart final : public LayeredPart {
public:
    static constexpr int kPortraits = 3;
    static constexpr int kPortraitWidth = 178;
    static constexpr int kPortraitHeight = 169;
    static constexpr int kGreetsWidth = 256;
    static constexpr int kGreetsHeight = 512;
    static constexpr int kWindowHeight = 384; // rows of the greetings shown

    GreetsPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers);
    ~GreetsPart() override;

    // The layered part's init, then the portraits, their masks, the
    // greetings and a work bitmap for their window.
    void init(Bitmap& frame, NewRenderDriver& renderDriver) override;
    // time: show clock seconds, which also pick the portrait and the window.
    void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) override;

    // Which portrait shows at show time t: 0, 1, 2, 0, ... every quarter
    // second, also before 0.
    static int portraitAt(float time);
    // The first greetings row in the window at show time t.
    static int windowRowAt(float time, int frameHeight);

    // None before init or when no loader takes the name.
    const Bitmap* portrait(int k) const { return portraits_[k].get(); }
    const Bitmap* mask(int k) const { return masks_[k].get(); }
    const Bitmap* greetings() const { return greetings_.get(); }

private:
    std::unique_ptr<Bitmap> portraits_[kPortraits];
    std::unique_ptr<Bitmap> masks_[kPortraits];
    std::unique_ptr<Bitmap> greetings_;
    std::unique_ptr<Bitmap> window_;
};

} // namespace zov
