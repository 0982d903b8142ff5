#include "runtime/CrossfadeTransition.h"

#include "image/Bitmap.h"
#include "runtime/Part.h"

namespace zov {

CrossfadeTransition::CrossfadeTransition(std::int32_t duration) : duration_(duration) {}

CrossfadeTransition::~CrossfadeTransition() = default;

void CrossfadeTransition::init(Part&, Part&, NewRenderDriver&, Bitmap& frame)
{
    bitmapA_ = std::make_unique<Bitmap>(frame.width(), frame.height());
    bitmapB_ = std::make_unique<Bitmap>(frame.width(), frame.height());
    bitmapB_->fill(0);
}

int CrossfadeTransition::factorAt(float time, std::uint32_t endTime) const
{
    // The start is an unsigned difference: an end time below the duration
    // wraps it far into the future.
    const float start = static_cast<float>(endTime - static_cast<std::uint32_t>(duration_));
    const float factor = (time - start) * 254.0f / (static_cast<float>(endTime) - start);
    // The blend clamps to 0..255 anyway; clamping first keeps the
    // conversion in range (and a NaN at black).
    if (!(factor > 0.0f))
        return 0;
    if (factor >= 255.0f)
        return 255;
    return static_cast<int>(factor);
}

void CrossfadeTransition::render(Part& from, const TransitionClock& clock, const void*, float time,
                                 NewRenderDriver& renderDriver, Bitmap& destination)
{
    // The blend reads its sources at the destination's indices.
    if (!bitmapA_ || destination.width() != bitmapA_->width() || destination.height() != bitmapA_->height())
        return;
    from.render(*bitmapA_, renderDriver, time);
    destination.blend(*bitmapA_, *bitmapB_, factorAt(time, clock.endTime()));
}

} // namespace zov
