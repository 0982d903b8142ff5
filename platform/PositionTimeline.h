#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace zov {

// Which position (module order/row word or stream frame) produced each
// stretch of rendered output, so that the position of the sound being heard
// can be told while newer output is already rendered. Output frames count
// from the opening of the device.
//
// One writer (the rendering thread) publishes; any thread may read. No lock:
// the writer fills an entry, then moves the count on with release order.
class PositionTimeline {
public:
    // Forgets every stretch: output from startFrame on is new. Frames before
    // it, and all frames until new output is published, report position.
    // Only while the writer is held still.
    void restart(std::uint32_t position, std::int64_t startFrame);

    // Output frames up to endFrame (exclusive) were rendered at position.
    void publish(std::int64_t endFrame, std::uint32_t position);

    // The position that produced output frame `frame`; before any published
    // stretch, the restart position; past the newest, the newest.
    std::uint32_t positionAt(std::int64_t frame) const;

    // The first frame of the run of output that frame belongs to, over which
    // the position, seen through mask, stays the same (0xFFFF: the order,
    // whatever the row): where that order or row began. Told to within one
    // published stretch, and no further back than the entries kept.
    std::int64_t runStart(std::int64_t frame, std::uint32_t mask) const;

    static constexpr std::size_t kEntries = 8192; // about 27 s of 147-frame blocks

private:

    struct Entry {
        std::atomic<std::int64_t> endFrame{0};
        std::atomic<std::uint32_t> position{0};
    };

    std::array<Entry, kEntries> entries_;
    std::atomic<std::uint64_t> count_{0};
    std::atomic<std::uint32_t> restartPosition_{0};
    std::atomic<std::int64_t> startFrame_{0};
};

} // namespace zov
