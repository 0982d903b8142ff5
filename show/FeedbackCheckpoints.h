#pragma once

#include <cstdint>
#include <vector>

namespace zov {

class Bitmap;
class Clock;
class NewRenderDriver;
class Part;

// The state the parts carry from frame to frame (trails, glow), kept every
// so many feedback steps of each part's course, so that a seek replays at
// most that many steps from a kept state instead of every step since the
// part began. A state is kept only where it is the played-through show's:
// worked out step by step from the part's start or from another kept one.
// Kept states belong to a part's start; a part started elsewhere keeps
// none.
class FeedbackCheckpoints {
public:
    explicit FeedbackCheckpoints(std::int64_t intervalSteps) : interval_(intervalSteps > 0 ? intervalSteps : 1) {}

    // The part just started at startSeconds (Part::start) is brought as close
    // as kept states allow to its state after step `upTo`, on the way
    // keeping the states it passes; the rest is left to its next render,
    // which is told to run every step due.
    void bringTo(int index, Part& part, float startSeconds, std::int64_t upTo, NewRenderDriver& renderDriver,
                 const Bitmap& frame);
    // After a frame of the running part: keeps its state if it stands on one
    // of the kept steps, has run every step and started where the kept
    // states did (a seek or workAhead set that start).
    void note(int index, const Part& part, float startSeconds);
    // Works ahead on a part that is not running, as it will start at
    // startSeconds, keeping its states up to step lastStep, until clock
    // reads deadline. The part is left in any state (its next start clears
    // it). True while work remains.
    bool workAhead(int index, Part& part, float startSeconds, std::int64_t lastStep, NewRenderDriver& renderDriver,
                   const Bitmap& frame, const Clock& clock, std::int64_t deadline);

    // Kept states of part index.
    std::size_t keptCount(int index) const;

private:
    struct Kept {
        std::vector<std::vector<std::uint32_t>> slots; // slot k: the state after step first + (k + 1) * interval - 1
        float startSeconds = -1.0f;
        std::int64_t first = 0; // the part's first step
        std::int64_t workedTo = -1; // the step workAhead left the part at
    };

    Kept& keptFor(int index, float startSeconds);
    // The step of slot k, and the slot a step stands on (-1: none).
    std::int64_t stepOf(const Kept& kept, std::int64_t slot) const { return kept.first + (slot + 1) * interval_ - 1; }
    std::int64_t slotOf(const Kept& kept, std::int64_t step) const;
    // The last step at or before step that ends a whole stretch between kept
    // states (kept.first - 1 when none does).
    std::int64_t lastStretchEndBy(const Kept& kept, std::int64_t step) const
    {
        return stepOf(kept, (step - kept.first + 1) / interval_ - 1);
    }
    void keep(Kept& kept, const Part& part);
    // Loads the latest kept state at or before step into part; false: none.
    bool loadLatest(Kept& kept, Part& part, std::int64_t step);
    // Runs part's steps up to `to`, keeping the states it passes.
    void runTo(Kept& kept, Part& part, std::int64_t to, NewRenderDriver& renderDriver, const Bitmap& frame);

    std::int64_t interval_;
    std::vector<Kept> parts_;
};

} // namespace zov
