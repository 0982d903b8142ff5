#pragma once

#include "show/DemoDriver.h"
#include "show/ShowTable.h"

#include "runtime/ShowTime.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace zov {

class Bitmap;
class AudioSource;
class Clock;
class DisplayDriver;
class FeedbackCheckpoints;
class MusicTimeline;
class ShowSchedule;
class MusicPlayer;
class NewRenderDriver;
class Part;
class PartList;
class PartRenderer;

// How a program runs the show beyond the display, music and clock.
struct ShowOptions {
    // The music starts at this order; the parts whose orders have passed end
    // at once, so the show opens on the part the order belongs to.
    std::int32_t startOrder = 0;
    // The show opens on this part, the ones before it passed over.
    int firstPart = 0;
    // Renders the parts when given (capture, timing); not owned.
    PartRenderer* partRenderer = nullptr;
    // At most this many feedback steps a frame (0: all that are due): a
    // machine too slow for real time falls behind instead of spiralling.
    int feedbackStepBound = 0;
    // A fresh copy of the show's music, played from where the show starts
    // it, at musicRate frames a second: rendered ahead (silently) for a show
    // that opens later in its course (seek); asked for once, when first
    // needed.
    std::function<std::unique_ptr<AudioSource>()> musicSource;
    int musicRate = 44100;
    // Keeps the parts' carried state every this many feedback steps, so that
    // a seek replays at most that many (0: none; a show that seeks often).
    int feedbackCheckpointSteps = 0;
};

// The program entry: builds the show from the show table (render driver,
// part list, parts, driver) and runs it on the given display and music with
// the given clock, one frame at a time as the caller asks:
//
//     ShowSession show(display, music, clock);
//     if (show.begin() == 0)
//         while (show.frame().drawn)
//             display.present();
//     return show.finish();
//
// Paths are relative to the working directory, which holds data/. The
// show's objects live as long as the session; a session dropped without
// finish (a run cut short) ends the music and says nothing more.
class ShowSession {
public:
    ShowSession(DisplayDriver& display, MusicPlayer& music, const Clock& clock, const ShowOptions& options = {});
    ~ShowSession();

    ShowSession(const ShowSession&) = delete;
    ShowSession& operator=(const ShowSession&) = delete;

    // Builds and sets up the show: 0, or the exit status of a show that
    // cannot run (finish then still has the last word).
    int begin();
    // The next frame, drawn into the display's frame; none once the show is
    // over.
    ShowFrame frame();
    // The program's closing line; returns the exit status.
    int finish();

    // Takes the show to show time t as if it had played there from its
    // start with no key pressed: the music from that moment, the part then
    // running with its feedback replayed from the part's start, the cues
    // sent so far. The caller's clock must read t from then on (the show
    // clock counts from begin). False, and nothing changes, when the show
    // cannot tell where it stands (no music timeline).
    bool seek(ShowTime t);
    // The show's course with no key pressed, worked out at least as far as
    // show time `until` (or to the end picture); none without a music
    // timeline. Valid until the next call.
    const ShowSchedule* schedule(ShowTime until = {1 << 30, 1});
    // With checkpoints: works out the carried state of the parts not
    // running, ahead of seeks, until clock reads deadline. True while work
    // remains.
    bool workAhead(const Clock& clock, std::int64_t deadline);
    // The music's timeline the schedule was worked out from; none before
    // schedule() found one.
    const MusicTimeline* musicTimeline() const { return musicTimeline_.get(); }

    DemoDriver& driver() { return *driver_; }
    PartList& partList() { return *partList_; }

private:
    DisplayDriver& display_;
    MusicPlayer& music_;
    ShowOptions options_;
    // Only describes the target size to the render driver.
    std::unique_ptr<Bitmap> frameDescriptor_;
    std::unique_ptr<NewRenderDriver> renderDriver_;
    std::unique_ptr<PartList> partList_;
    std::unique_ptr<Part> parts_[kShowPartCount];
    std::unique_ptr<DemoDriver> driver_;
    std::unique_ptr<AudioSource> timelineSource_; // rendered ahead as far as asked
    std::unique_ptr<MusicTimeline> musicTimeline_;
    std::unique_ptr<ShowSchedule> schedule_;
    std::unique_ptr<FeedbackCheckpoints> checkpoints_;
    int status_ = 0;
    bool finished_ = false;
};

} // namespace zov
