#include "show/capture/LockstepShow.h"

#include "runtime/Part.h"
#include "show/ShowProgram.h"

#include <algorithm>

namespace zov {

LockstepShow::LockstepShow(FrameRate rate, LockstepSink& sink)
    : rate_(rate.num > 0 && rate.den > 0 ? rate : FrameRate{}), sink_(sink),
      samples_(2 * static_cast<std::size_t>(samplesBefore(1, rate_) + 1))
{
    display_.inner.setPresentHook([this](const Bitmap& picture) { presented(picture); });
}

LockstepShow::~LockstepShow() = default;

LockstepShow::Result LockstepShow::run(std::int32_t startOrder)
{
    Result result;
    ShowRunOptions options;
    options.startOrder = startOrder;
    options.partRenderer = this;
    try {
        result.status = runShow(display_, music_, clock_, options);
    } catch (const Stop&) {
        result.stopped = true;
    }
    result.frames = frame_;
    return result;
}

void LockstepShow::renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    lastPart_ = index;
    if (inner_)
        inner_->renderPart(index, part, frame, renderDriver, time);
    else
        part.render(frame, renderDriver, time);
}

void LockstepShow::presented(const Bitmap& picture)
{
    FrameFacts facts;
    facts.index = frame_;
    facts.showMicros = rate_.timeOf(frame_, 1'000'000);
    facts.part = lastPart_;
    lastPart_ = -1;
    // The show read the music before drawing, and nothing has moved since.
    facts.musicPlaying = audio_.initialised();
    if (facts.musicPlaying) {
        facts.order = music_.order();
        facts.row = music_.row();
    }

    const auto count = static_cast<std::size_t>(samplesBefore(frame_ + 1, rate_) - samplesBefore(frame_, rate_));
    std::fill(samples_.begin(), samples_.begin() + 2 * static_cast<std::ptrdiff_t>(count), 0.0f);
    audio_.step(count, samples_.data());
    ++frame_;
    clock_.setTicks(rate_.timeOf(frame_, clock_.ticksPerSecond()));
    if (!sink_.frame(picture, facts, samples_.data(), count))
        throw Stop{};
}

} // namespace zov
