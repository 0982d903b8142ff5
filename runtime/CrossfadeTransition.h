#pragma once

#include "runtime/Transition.h"

#include <cstdint>
#include <memory>

namespace zov {

// Fades from black towards the outgoing part over the last `duration` units
// before the clock's end time.
class CrossfadeTransition final : public Transition {
public:
    explicit CrossfadeTransition(std::int32_t duration);
    ~CrossfadeTransition() override;

    // Makes the two work bitmaps at the frame's size; the second is black.
    void init(Part& from, Part& to, NewRenderDriver& renderDriver, Bitmap& frame) override;
    // Does nothing before init or onto a destination of another size.
    void render(Part& from, const TransitionClock& clock, const void* unused, float time,
                NewRenderDriver& renderDriver, Bitmap& destination) override;

    std::int32_t duration() const { return duration_; }
    // Blend factor 0..255 at time within the window that ends at endTime.
    int factorAt(float time, std::uint32_t endTime) const;

private:
    std::int32_t duration_;
    std::unique_ptr<Bitmap> bitmapA_; // the outgoing part
    std::unique_ptr<Bitmap> bitmapB_; // black
};

} // namespace zov
