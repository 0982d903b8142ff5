#include "show/FeedbackCheckpoints.h"

#include "platform/Clock.h"
#include "runtime/FeedbackClock.h"
#include "runtime/Part.h"

#include <algorithm>

namespace zov {

FeedbackCheckpoints::Kept& FeedbackCheckpoints::keptFor(int index, float startSeconds)
{
    if (static_cast<std::size_t>(index) >= parts_.size())
        parts_.resize(static_cast<std::size_t>(index) + 1);
    Kept& kept = parts_[static_cast<std::size_t>(index)];
    if (kept.startSeconds != startSeconds) {
        kept.slots.clear();
        kept.startSeconds = startSeconds;
        kept.first = feedback::lastStepBy(feedback::milliseconds(startSeconds) - 1) + 1;
        kept.workedTo = -1;
    }
    return kept;
}

std::size_t FeedbackCheckpoints::keptCount(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= parts_.size())
        return 0;
    std::size_t count = 0;
    for (const auto& slot : parts_[static_cast<std::size_t>(index)].slots)
        count += slot.empty() ? 0 : 1;
    return count;
}

std::int64_t FeedbackCheckpoints::slotOf(const Kept& kept, std::int64_t step) const
{
    const std::int64_t run = step - kept.first + 1;
    return run > 0 && run % interval_ == 0 ? run / interval_ - 1 : -1;
}

void FeedbackCheckpoints::keep(Kept& kept, const Part& part)
{
    const std::int64_t slot = slotOf(kept, part.lastStepRun());
    if (slot < 0)
        return;
    if (static_cast<std::size_t>(slot) >= kept.slots.size())
        kept.slots.resize(static_cast<std::size_t>(slot) + 1);
    std::vector<std::uint32_t>& words = kept.slots[static_cast<std::size_t>(slot)];
    if (!words.empty())
        return;
    words.resize(part.feedbackWords());
    std::uint32_t* out = words.data();
    part.saveFeedback(out);
}

bool FeedbackCheckpoints::loadLatest(Kept& kept, Part& part, std::int64_t step)
{
    for (std::int64_t slot = std::min<std::int64_t>(static_cast<std::int64_t>(kept.slots.size()) - 1,
                                                    (step - kept.first + 1) / interval_ - 1);
         slot >= 0; --slot) {
        const std::vector<std::uint32_t>& words = kept.slots[static_cast<std::size_t>(slot)];
        if (words.empty())
            continue;
        const std::uint32_t* in = words.data();
        part.loadFeedback(in);
        part.resumeAfter(stepOf(kept, slot));
        return true;
    }
    return false;
}

void FeedbackCheckpoints::runTo(Kept& kept, Part& part, std::int64_t to, NewRenderDriver& renderDriver,
                                const Bitmap& frame)
{
    while (part.lastStepRun() < to) {
        const std::int64_t done = part.lastStepRun() - kept.first + 1;
        const std::int64_t next = std::min(to, kept.first + (done / interval_ + 1) * interval_ - 1);
        part.catchUpFully();
        part.runDueSteps(renderDriver, frame, feedback::stepTime(next));
        keep(kept, part);
    }
}

void FeedbackCheckpoints::bringTo(int index, Part& part, float startSeconds, std::int64_t upTo,
                                  NewRenderDriver& renderDriver, const Bitmap& frame)
{
    if (part.feedbackWords() == 0)
        return;
    Kept& kept = keptFor(index, startSeconds);
    loadLatest(kept, part, upTo);
    // Whole stretches between kept steps only: the frame runs the rest.
    runTo(kept, part, lastStretchEndBy(kept, upTo), renderDriver, frame);
    part.catchUpFully();
}

void FeedbackCheckpoints::note(int index, const Part& part, float startSeconds)
{
    // A part that started elsewhere than the kept states' start (or ran
    // short of steps) has nothing to add to them.
    if (part.fellBehind() || part.startTime() != startSeconds)
        return;
    const bool keyed = static_cast<std::size_t>(index) < parts_.size() &&
                       parts_[static_cast<std::size_t>(index)].startSeconds >= 0.0f;
    if (keyed && parts_[static_cast<std::size_t>(index)].startSeconds != startSeconds)
        return;
    keep(keptFor(index, startSeconds), part);
}

bool FeedbackCheckpoints::workAhead(int index, Part& part, float startSeconds, std::int64_t lastStep,
                                    NewRenderDriver& renderDriver, const Bitmap& frame, const Clock& clock,
                                    std::int64_t deadline)
{
    if (part.feedbackWords() == 0)
        return false;
    Kept& kept = keptFor(index, startSeconds);
    const std::int64_t lastSlot = slotOf(kept, lastStretchEndBy(kept, lastStep));
    if (lastSlot < 0 || (static_cast<std::size_t>(lastSlot) < kept.slots.size() &&
                         !kept.slots[static_cast<std::size_t>(lastSlot)].empty()))
        return false;
    if (part.lastStepRun() != kept.workedTo || part.startTime() != startSeconds) {
        part.start(startSeconds);
        loadLatest(kept, part, lastStep);
    }
    constexpr std::int64_t kStepsBetweenLooks = 6;
    const std::int64_t to = stepOf(kept, lastSlot);
    while (part.lastStepRun() < to && clock.ticks() < deadline)
        runTo(kept, part, std::min(to, part.lastStepRun() + kStepsBetweenLooks), renderDriver, frame);
    kept.workedTo = part.lastStepRun();
    return part.lastStepRun() < to;
}

} // namespace zov
