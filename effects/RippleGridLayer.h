#pragma once

#include "effects/EffectLayer.h"
#include "effects/LineSet.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zov {

// A wire grid, rippled by a travelling sine wave and turning about the view
// axis, drawn into a feedback bitmap that is blurred at every feedback step
// (light trails drifting down and right) and added onto the frame. No keys.
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
    // Adds the feedback onto the frame.
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char*, const void*) override {}
    // Blurs the feedback, draws the grid into it at `time` and clears its
    // edge rows.
    void step(const Bitmap& frame, float time) override;
    void restartFeedback() override;
    std::size_t feedbackWords() const override;
    void saveFeedback(std::uint32_t*& out) const override;
    void loadFeedback(const std::uint32_t*& in) override;
    // The same step by the plain loops that ripple, turn and project both
    // ends of every line; step does each distinct end once.
    void stepReference(const Bitmap& frame, float time);

    const LineSet& grid() const { return grid_; }
    // None before the first step.
    const Bitmap* feedback() const { return feedback_.get(); }

    // A line end shared by several lines (bitwise the same rest point), and
    // what becomes of it this frame.
    struct Corner {
        Vec3 rest;
        Vec3 moved;
        Vec3 turned;
        int sx = 0, sy = 0; // pixels
        bool visible = false;
    };

private:
    void stepWith(const Bitmap& frame, float time, bool reference);

    LineSet grid_;
    std::unique_ptr<Bitmap> feedback_;
    std::vector<Corner> corners_;
    std::vector<int> cornerOf_; // start, end of each line: index into corners_
};

// Zeroes rows first..last of the bitmap, clamped to it.
void clearRows(Bitmap& bitmap, int first, int last);

} // namespace zov
