#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zov {

class ActionTable;
class Bitmap;
class EffectLayer;
class NewRenderDriver;
class PartList;

// One part of the show: prepared once against the frame, then rendered into
// it at the show clock's time. The operations keep this order.
class Part {
public:
    Part();

    // Prepares the part; this is where it creates its action table.
    virtual void init(Bitmap& frame, NewRenderDriver& renderDriver) = 0;
    // time: show clock seconds; the part subtracts its own start time.
    virtual void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) = 0;
    virtual void randomizeOffset() {}
    // Reaction to a number from the part's action table.
    virtual void action(std::int32_t) {}
    virtual ~Part();

    // The part's effect layer at index, or none; the driver sends it music cues.
    virtual EffectLayer* layer(int) { return nullptr; }
    // Advances the state the part carries from frame to frame (trails, glow)
    // by one step of the feedback clock (runtime/FeedbackClock.h), taken at
    // show time `time`; render runs the steps due, then draws the rest at the
    // frame's own time. frame gives the size only.
    virtual void step(NewRenderDriver&, const Bitmap& /*frame*/, float /*time*/) {}
    // Forgets the state carried from frame to frame, as the part was after
    // init.
    virtual void restartFeedback() {}
    // The state carried from frame to frame as 32-bit words, to be kept and
    // brought back (a seek starts from a kept state instead of the part's
    // start): how many words it takes now, a copy out and a copy in, each
    // moving its cursor past what it wrote or read. A part without carried
    // state takes none.
    virtual std::size_t feedbackWords() const { return 0; }
    virtual void saveFeedback(std::uint32_t*& /*out*/) const {}
    virtual void loadFeedback(const std::uint32_t*& /*in*/) {}

    float startTime() const { return startTime_; }
    void setStartTime(float seconds) { startTime_ = seconds; }
    // The part's loop begins at `seconds` of show time: its clock starts
    // there and its carried state starts afresh, so that a frame depends only
    // on its show time and the part's start.
    void start(float seconds);
    // At most this many feedback steps are run by one render, the latest
    // ones: a machine too slow for the frame rate falls behind instead of
    // spiralling. 0: no bound (captures, seeks).
    void setStepBound(int steps) { stepBound_ = steps; }
    // The next render runs every step due, whatever the bound (after a seek).
    void catchUpFully() { catchUpFully_ = true; }
    // A render since the start left steps out for the bound: the carried
    // state is not what a played-through show has.
    bool fellBehind() const { return fellBehind_; }

    // The feedback steps due by show time `time` that have not run yet, from
    // the part's start on: [first, last], empty when last < first. Marks
    // them as run.
    struct StepSpan {
        std::int64_t first = 0;
        std::int64_t last = -1;
    };
    StepSpan takeDueSteps(float time);
    // Runs the feedback steps due by `time` (see takeDueSteps) without
    // drawing; frame gives the size only.
    void runDueSteps(NewRenderDriver& renderDriver, const Bitmap& frame, float time);
    // Runs every step due by `time` not run yet, whatever the bound: the
    // part as a show that played through to `time` has it.
    void catchUpTo(NewRenderDriver& renderDriver, const Bitmap& frame, float time);
    // The last feedback step run (before the part's first: none yet).
    std::int64_t lastStepRun() const { return stepsRun_; }
    // The carried state just loaded is the one after step `step`.
    void resumeAfter(std::int64_t step) { stepsRun_ = step; }
    // None until init.
    const ActionTable* actionTable() const { return actionTable_.get(); }
    PartList* owner() const { return owner_; }
    void setOwner(PartList* owner) { owner_ = owner; }

    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;

protected:
    void setActionTable(std::unique_ptr<ActionTable> table);

private:
    float startTime_ = 0.0f; // show clock seconds when the part's loop began
    std::int64_t stepsRun_ = -1; // the last feedback step run (feedback::stepMs)
    int stepBound_ = 0;
    bool catchUpFully_ = false;
    bool fellBehind_ = false;
    std::unique_ptr<ActionTable> actionTable_;
    PartList* owner_ = nullptr;
};

} // namespace zov
