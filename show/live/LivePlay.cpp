#include "show/live/LivePlay.h"

#include "image/Bitmap.h"
#include "image/ReleaseLines.h"
#include "platform/AudioSource.h"
#include "platform/Clock.h"
#include "platform/DisplayDriver.h"
#include "platform/MusicPlayer.h"
#include "platform/MusicTimeline.h"
#include "platform/Sleeper.h"
#include "platform/SteerableClock.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "show/ShowSchedule.h"
#include "show/ShowSession.h"
#include "show/ShowTable.h"
#include "show/live/ClockLedMusic.h"
#include "show/live/FramePacer.h"
#include "show/live/FrameTimes.h"
#include "show/live/StudyController.h"
#include "show/live/StudyOverlay.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace zov {

namespace {

constexpr int kMusicRate = 44100;
// How long the loop sleeps at a time while the show stands still: a key is
// seen at once, the headless end picture ends within this of its time.
constexpr int kIdleWaitMs = 50;
// Study mode keeps the parts' carried state every second of show time, and
// works it out ahead for this long after each frame and, while the show
// stands still, in slices of this length before it waits.
constexpr int kCheckpointSteps = 60;
constexpr int kWorkAheadPerFrameMs = 4;
constexpr int kWorkAheadIdleMs = 40;

// The display as the show sees it in study mode: the keys are the study's.
class KeysApart final : public DisplayDriver {
public:
    explicit KeysApart(DisplayDriver& inner) : inner_(inner) {}
    bool present() override { return inner_.present(); }
    bool presentBitmap(const Bitmap& bitmap) override { return inner_.presentBitmap(bitmap); }
    bool open(int width, int height, bool flag, int depth) override { return inner_.open(width, height, flag, depth); }
    bool reopen() override { return inner_.reopen(); }
    bool keyHit() override { return false; }
    KeyRecord lastKey() const override { return {}; }
    void close() override { inner_.close(); }
    Bitmap* frame() override { return inner_.frame(); }
    bool hasKeyboard() const override { return inner_.hasKeyboard(); }

private:
    DisplayDriver& inner_;
};

class SessionStudyShow final : public StudyShow {
public:
    SessionStudyShow(ShowSession& show, ClockLedMusic& music) : show_(show), music_(music) {}
    bool seek(ShowTime t) override { return show_.seek(t); }
    bool fellBehind() override
    {
        const Part* part = show_.partList().part(show_.driver().runningPart());
        return part != nullptr && part->fellBehind();
    }
    bool steerMusic(bool paused, int slowdown, ShowTime t) override { return music_.steer(paused, slowdown, t); }

private:
    ShowSession& show_;
    ClockLedMusic& music_;
};

class LiveLoop {
public:
    LiveLoop(ShowSession& show, DisplayDriver& display, SteerableClock& showClock, const Clock& clock,
             Sleeper& sleeper, const LiveOptions& options, StudyController* study)
        : show_(show), display_(display), showClock_(showClock), clock_(clock), sleeper_(sleeper),
          frameLimit_(options.frameLimit), study_(study), pacer_(clock, sleeper, options.paced)
    {
    }

    ~LiveLoop()
    {
        // After the show's last line.
        const QuietReleases quiet;
        overlay_.reset();
    }

    int run();

private:
    // Presents the frame, with the overlay over it when it is on.
    void showPicture();
    // Waits a while for input; true when the picture must be shown again.
    bool waitIdle();
    // Works ahead for seeks for up to ms; true while work remains.
    bool workAhead(int ms) { return show_.workAhead(clock_, clock_.ticks() + clock_.ticksPerSecond() * ms / 1000); }
    OverlayFacts facts() const;

    ShowSession& show_;
    DisplayDriver& display_;
    SteerableClock& showClock_;
    const Clock& clock_;
    Sleeper& sleeper_;
    std::int64_t frameLimit_;
    StudyController* study_;
    FramePacer pacer_;
    FrameTimes times_;
    ShowFrame last_;
    std::unique_ptr<Bitmap> overlay_;
};

int LiveLoop::run()
{
    std::int64_t presented = 0;
    for (;;) {
        if (study_) {
            for (std::uint32_t key = display_.takeKey(); key != 0; key = display_.takeKey())
                study_->press(key);
            if (study_->quit())
                break;
            study_->beforeFrame();
            if (!study_->wantsFrame()) {
                if (study_->takeOverlayChange() || waitIdle())
                    showPicture();
                continue;
            }
        }
        pacer_.waitForTurn();
        const ShowFrame frame = show_.frame();
        if (!frame.drawn)
            break;
        if (frame.unchanged) {
            if ((study_ && study_->takeOverlayChange()) || waitIdle())
                showPicture();
            continue;
        }
        last_ = frame;
        const std::int64_t beforePresent = clock_.ticks();
        showPicture();
        pacer_.presented(display_.pacing(), clock_.ticks() - beforePresent);
        times_.presented(clock_.ticks(), clock_.ticksPerSecond());
        if (study_)
            workAhead(kWorkAheadPerFrameMs);
        // The show clock starts with the first frame, drawn at its start.
        if (++presented == 1 && (!study_ || !study_->paused()))
            showClock_.resume();
        if (frameLimit_ > 0 && presented >= frameLimit_)
            return 0; // the session ends the music on its way out
    }
    return show_.finish();
}

void LiveLoop::showPicture()
{
    Bitmap* frame = display_.frame();
    if (!study_ || !study_->overlay() || frame == nullptr) {
        display_.present();
        return;
    }
    if (!overlay_)
        overlay_ = std::make_unique<Bitmap>(frame->width(), frame->height());
    frame->copyTo(*overlay_);
    drawStudyOverlay(*overlay_, show_.driver().font(), facts(), times_);
    display_.presentBitmap(*overlay_);
}

bool LiveLoop::waitIdle()
{
    pacer_.idled();
    times_.idled();
    if (study_ && workAhead(kWorkAheadIdleMs))
        return display_.waitForInput(0);
    if (display_.hasKeyboard())
        return display_.waitForInput(kIdleWaitMs);
    sleeper_.sleepUntil(clock_.ticks() + clock_.ticksPerSecond() * kIdleWaitMs / 1000);
    return false;
}

OverlayFacts LiveLoop::facts() const
{
    OverlayFacts facts;
    facts.part = last_.part;
    facts.order = last_.order;
    facts.row = last_.row;
    facts.showMillis = std::llround(static_cast<double>(last_.time) * 1000.0);
    facts.frame = (facts.showMillis * StudyController::kFramesPerSecond + 999) / 1000;
    facts.paused = study_->paused();
    facts.looping = study_->looping();
    facts.slowdown = study_->slowdown();
    facts.musicFollows = study_->musicFollows();
    return facts;
}

} // namespace

int playLive(DisplayDriver& display, MusicPlayer& music, SourceOpener* opener, const Clock& clock, Sleeper& sleeper,
             const LiveOptions& options)
{
    SteerableClock showClock(clock);
    ClockLedMusic led(music, showClock);
    KeysApart keysApart(display);
    ShowOptions showOptions;
    showOptions.startOrder = options.startOrder;
    showOptions.feedbackStepBound = options.feedbackStepBound;
    showOptions.musicRate = kMusicRate;
    if (options.study)
        showOptions.feedbackCheckpointSteps = kCheckpointSteps;
    if (opener) {
        const std::int32_t startOrder = options.startOrder;
        showOptions.musicSource = [opener, startOrder]() -> std::unique_ptr<AudioSource> {
            SourceOpener::Result opened = opener->openModule(kShowMusicFile, kMusicRate);
            if (opened.source)
                opened.source->seek(modulePosition(startOrder, 0));
            return std::move(opened.source);
        };
    }
    ShowSession show(options.study ? static_cast<DisplayDriver&>(keysApart) : display,
                     options.study ? static_cast<MusicPlayer&>(led) : music, showClock, showOptions);
    if (show.begin() != 0)
        return show.finish();

    SessionStudyShow studyShow(show, led);
    std::unique_ptr<StudyController> study;
    if (options.study) {
        const ShowSchedule* schedule = show.schedule();
        if (schedule == nullptr) {
            std::fputs("cannot study the show: the music's course is not known\n", stderr);
            return 1;
        }
        led.follow(*show.musicTimeline(), kMusicRate);
        study = std::make_unique<StudyController>(showClock, studyShow,
                                                  studyMapOf(*schedule, *show.musicTimeline(), kMusicRate));
        // Working out the music's course took a while: the sound from the
        // start again.
        if (!options.startTime)
            led.steer(false, 1, {0, 1});
    }
    if (options.startTime) {
        if (!show.seek(*options.startTime)) {
            std::fputs("cannot open the show at its start time: the music's course is not known\n", stderr);
            return 1;
        }
        showClock.set(options.startTime->in(showClock.ticksPerSecond()));
    }
    LiveLoop loop(show, display, showClock, clock, sleeper, options, study.get());
    return loop.run();
}

} // namespace zov
