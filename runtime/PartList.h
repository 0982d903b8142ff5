#pragma once

#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;
class Clock;
class CrossfadeTransition;
class DemoTimer;
class NewRenderDriver;
class Part;
class Transition;

// Renders one part of the list at a show time. The list renders directly
// unless given one: programs that capture or time the show watch each
// part's frame through it.
class PartRenderer {
public:
    virtual ~PartRenderer() = default;
    virtual void renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time) = 0;
};

// The show's timeline: its parts in playing order, the transitions between
// them, the show clock and the render driver that all parts share. It does
// not own its parts.
class PartList {
public:
    static constexpr int kMaxParts = 16;
    static constexpr int kMaxTransitions = kMaxParts - 1;
    static constexpr std::int32_t kCrossfadeDuration = 12000;

    // Note the order: depth before flag. The clock feeds the show clock.
    PartList(int width, int height, int depth, int flag, NewRenderDriver& renderDriver, const Clock& clock);
    ~PartList();

    PartList(const PartList&) = delete;
    PartList& operator=(const PartList&) = delete;

    // Appends a part and becomes its owner; ignored silently once full.
    void addPart(Part* part);
    // transitions[i] joins parts i and i + 1; ignored silently once full.
    void addTransition(Transition* transition);
    // Initialises every part, then every transition, in the order added.
    void initAll(Bitmap& frame);
    // Starts the show clock at 0.
    void startClock();
    // Renders part index at the show clock's time (0 before startClock);
    // an index outside the list renders nothing.
    void renderPart(int index, Bitmap& frame);
    // Renders through renderer from now on; null: directly. Not owned.
    void setPartRenderer(PartRenderer* renderer) { renderer_ = renderer; }

    int width() const { return width_; }
    int height() const { return height_; }
    int flag() const { return flag_; }
    int depth() const { return depth_; }
    int partCount() const { return partCount_; }
    int transitionCount() const { return transitionCount_; }
    // None outside the list.
    Part* part(int index) const;
    // None until startClock.
    DemoTimer* timer() const { return timer_.get(); }
    NewRenderDriver& renderDriver() const { return renderDriver_; }
    CrossfadeTransition& crossfade() const { return *crossfade_; }

private:
    int width_;
    int height_;
    int flag_; // handed to the display's open as a boolean
    int depth_;
    Part* parts_[kMaxParts] = {};
    Transition* transitions_[kMaxTransitions] = {};
    std::unique_ptr<CrossfadeTransition> crossfade_;
    int partCount_ = 0;
    int transitionCount_ = 0;
    std::unique_ptr<DemoTimer> timer_;
    NewRenderDriver& renderDriver_;
    const Clock& clock_;
    PartRenderer* renderer_ = nullptr;
};

} // namespace zov
