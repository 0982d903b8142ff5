#pragma once

#include "effects/EffectLayer.h"
#include "effects/LineSet.h"

#include <cstdint>
#include <memory>

namespace zov {

// A wire grid, rippled by a travelling sine wave and turning about the view
// axis, drawn into a feedback bitmap that is blurred every frame (light
// trails drifting down and right) and added onto the frame. No keys.
class RippleGridLayer final : public EffectLayer {
public:
    static constexpr int kCells = 32;
    static constexpr std::uint32_t kGridColour = 0xffffff;
    static constexpr std::uint32_t kLineColour = 0x221a0c;
    // Rows cleared at the top and above the bottom row of the feedback.
    static constexpr int kClearedRows = 6;

    RippleGridLayer();
    ~RippleGridLayer() override;

    void init() override;
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char*, const void*) override {}

    const LineSet& grid() const { return grid_; }
    // None before the first render.
    const Bitmap* feedback() const { return feedback_.get(); }

private:
    LineSet grid_;
    std::unique_ptr<Bitmap> feedback_;
};

// Zeroes rows first..last of the bitmap, clamped to it.
void clearRows(Bitmap& bitmap, int first, int last);

} // namespace zov
