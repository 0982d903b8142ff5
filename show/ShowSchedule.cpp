#include "show/ShowSchedule.h"

#include "platform/MusicPlayer.h"
#include "platform/MusicTimeline.h"
#include "show/ShowTable.h"

#include <algorithm>

namespace zov {

namespace {

constexpr std::uint32_t kOrderBits = 0xFFFF;
constexpr std::uint32_t kPositionBits = 0xFFFFFFFF;

} // namespace

ShowSchedule::ShowSchedule(const MusicTimeline& music, int rate) : music_(music), rate_(rate)
{
    entries_.push_back({0, 0, 0});
    std::int64_t run = 0; // first frame of the order run the driver meets
    std::int64_t startMs = 0;
    for (int part = 0; part < kShowPartCount;) {
        if (kShowParts[part].leavesAt(positionOrder(music.positionAt(run)))) {
            // The first frame told of the run: once its first block is whole.
            // The music's very first run is what the first frame of all meets.
            const std::int64_t from = run == 0 ? 0 : run + music.blockFrames();
            startMs = std::max(run * 1000 / rate, startMs);
            ++part;
            entries_.push_back({part < kShowPartCount ? part : kEndPicture, from, startMs});
            continue;
        }
        const std::int64_t next = music.nextChange(run, kOrderBits);
        if (next >= music.frames())
            break;
        run = next;
    }
}

std::int64_t ShowSchedule::cuesOf(std::size_t index, std::int64_t untilFrame, std::int32_t& lastRow) const
{
    const Entry& entry = entries_[index];
    if (entry.part == kEndPicture || kShowParts[entry.part].cueLayer < 0 || untilFrame < entry.fromFrame)
        return 0;
    const std::int32_t step = kShowParts[entry.part].cueRowStep;
    // The music frames the part's frames are told of, first to last.
    const std::int64_t block = music_.blockFrames();
    const std::int64_t first = entry.fromFrame / block * block - 1;
    const std::int64_t last = untilFrame / block * block - 1;
    std::int64_t cues = 0;
    for (std::int64_t frame = first; frame <= last;) {
        const std::int32_t row = positionRow(music_.positionAt(frame));
        if (row % step == 0) {
            ++cues;
            lastRow = row;
        }
        const std::int64_t next = music_.nextChange(frame, kPositionBits);
        if (next <= frame || next >= music_.frames())
            break;
        frame = next;
    }
    return cues;
}

ShowSchedule::State ShowSchedule::at(ShowTime t) const
{
    const std::int64_t frame = t.in(rate_);
    std::size_t current = 0;
    while (current + 1 < entries_.size() && entries_[current + 1].fromFrame <= frame)
        ++current;
    State state;
    state.part = entries_[current].part;
    state.startMs = entries_[current].startMs;
    state.position = music_.toldAt(frame);
    for (std::size_t i = 0; i <= current; ++i) {
        // A part's last frame comes just before the next one's first.
        const std::int64_t until = i < current ? entries_[i + 1].fromFrame - 1 : frame;
        std::int32_t row = -1;
        state.cues += cuesOf(i, until, row);
        if (i == current)
            state.lastCueRow = row;
    }
    return state;
}

} // namespace zov
