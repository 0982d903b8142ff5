#pragma once

#include "runtime/ShowTime.h"

#include <cstdint>
#include <vector>

namespace zov {

class MusicTimeline;

// Where the show stands at any moment when nothing but its music leads it
// (no key pressed), worked out ahead from the music's timeline the way the
// driver meets the music frame by frame: a frame at show time t is told the
// position of the last whole block of music before t. The moments a part or the
// end picture takes over, and the start each part's clock gets, do not
// depend on the frame rate.
class ShowSchedule {
public:
    static constexpr int kEndPicture = -1;

    // rate: frames a second of the timeline.
    ShowSchedule(const MusicTimeline& music, int rate);

    struct Entry {
        int part;               // in playing order; kEndPicture
        std::int64_t fromFrame; // a frame with this many music frames before it is the first to show it
        std::int64_t startMs;   // the start of its clock, in show milliseconds
    };
    // From the first part on, as far as the timeline reaches.
    const std::vector<Entry>& entries() const { return entries_; }

    struct State {
        int part = 0;
        std::int64_t startMs = 0;
        std::uint32_t position = 0;  // the music position a frame at that moment sees
        std::int64_t cues = 0;       // cue rows met so far, over every part
        std::int32_t lastCueRow = -1; // the running part's latest cue row; -1: none yet
    };
    // The state a frame at t meets. Past the timeline, as at its end.
    State at(ShowTime t) const;
    // The show time at which entry `index` takes over.
    ShowTime startOf(std::size_t index) const { return {entries_[index].fromFrame, rate_}; }

private:
    // Cue rows of part entry `index` met by its frames up to a frame with
    // untilFrame music frames before it; their latest row into lastRow.
    std::int64_t cuesOf(std::size_t index, std::int64_t untilFrame, std::int32_t& lastRow) const;

    const MusicTimeline& music_;
    int rate_;
    std::vector<Entry> entries_;
};

} // namespace zov
