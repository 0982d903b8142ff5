#pragma once

#include "runtime/ShowTime.h"

#include <cstdint>
#include <vector>

namespace zov {

class MusicTimeline;
class ShowSchedule;
class SteerableClock;

// Where a study of the show can go: the first moment each part (or the end
// picture) and each music order shows, in show order.
struct StudyMap {
    struct Mark {
        ShowTime at;
        int part = 0; // -1: the end picture; for orders, the order
    };
    std::vector<Mark> parts;
    std::vector<Mark> orders;
};

// The map of a show's schedule and the music timeline it came from (frames
// a second: rate); orders up to the end picture.
StudyMap studyMapOf(const ShowSchedule& schedule, const MusicTimeline& music, int rate);

// What study mode steers beside the show clock.
class StudyShow {
public:
    virtual ~StudyShow() = default;
    // Takes the show to t as a show played through from its start is there.
    virtual bool seek(ShowTime t) = 0;
    // The show left feedback steps out since its part began (a slow
    // machine): a frame drawn on from here is not the played-through one.
    virtual bool fellBehind() = 0;
    // The music held, or playing from t at 1 / slowdown of its pace; false
    // when it cannot take that pace and is silent instead.
    virtual bool steerMusic(bool paused, int slowdown, ShowTime t) = 0;
};

// Study mode's keys and what they do to the show clock and the show. Times
// it goes to fall on the frames of a 60 fps capture (the next one at or
// after the moment), so a held frame is that capture's frame:
//
//   Space             pause and resume
//   . and ,           one frame (1/60 s) forward and back, pausing
//   Right and Left    one second forward and back
//   Up and Down       the next and the previous music order
//   PgDn and PgUp, ] and [   the next and the previous part
//   L                 loop the current part
//   1, 2, 4           full, half and quarter speed
//   O or Tab          the overlay
//   Esc or Q          quit
//
// Going back lands on the start of the current order or part when more
// than half a second into it while running.
class StudyController {
public:
    static constexpr std::int64_t kFramesPerSecond = 60;
    // Back to the start of the current order or part, not the one before,
    // when this far into it while running.
    static constexpr std::int64_t kBackGraceFrames = 30;

    // The clock is the show clock, held or running as the show is.
    StudyController(SteerableClock& clock, StudyShow& show, StudyMap map);

    // One key press (a virtual-key code).
    void press(std::uint32_t key);
    // Before each frame: takes a looped part back to its start once its end
    // is reached.
    void beforeFrame();
    // Whether to draw a frame now: always while running; held, once after
    // each change.
    bool wantsFrame();
    // Whether the overlay was switched, or what it shows beside the frame
    // changed, since the last call.
    bool takeOverlayChange();

    bool paused() const { return paused_; }
    int slowdown() const { return slowdown_; }
    bool looping() const { return looping_; }
    bool musicFollows() const { return musicFollows_; }
    bool overlay() const { return overlay_; }
    bool quit() const { return quit_; }
    // The show clock's time in whole frames of 60 a second, rounded up.
    std::int64_t frameNow() const;

private:
    void togglePause();
    void pause();
    void step(std::int64_t frames);
    // Seeks to frame (of 60 a second), held or running as before.
    void goTo(std::int64_t frame);
    void goToMark(const std::vector<StudyMap::Mark>& marks, bool forward);
    void setSlowdown(int slowdown);
    void toggleLoop();
    // The part mark at or before frame; -1 before the first.
    int partIndexAt(std::int64_t frame) const;
    void setLoopAround(std::int64_t frame);
    std::int64_t ticksOf(std::int64_t frame) const;
    static std::int64_t frameOf(ShowTime t);

    SteerableClock& clock_;
    StudyShow& show_;
    StudyMap map_;
    bool paused_ = false;
    bool redraw_ = false;
    int slowdown_ = 1;
    bool musicFollows_ = true;
    bool looping_ = false;
    std::int64_t loopStart_ = 0; // frames of 60 a second
    ShowTime loopEnd_;           // the next part's first moment
    bool overlay_ = false;
    bool overlayChanged_ = false;
    bool quit_ = false;
};

} // namespace zov
