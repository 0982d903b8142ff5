#pragma once

#include "platform/AudioSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zov {

// Which module position produced each stretch of a whole play of the music,
// from its start: what the show looks ahead in to open at any time. The
// stretches are the mixing layer's blocks, counted from the music's first
// frame, so a position read here is the one the layer reports when the
// music plays from its start.
class MusicTimeline {
public:
    struct Stretch {
        std::int64_t endFrame; // exclusive, in frames from the music's start
        std::uint32_t position; // module position word (order low, row high)
    };

    // Renders `frames` more frames of source (from where it stands on the
    // first call), silently and in draft, in blocks of blockFrames; stops
    // early where the source ends. False once the source has ended.
    bool extend(AudioSource& source, std::size_t blockFrames, std::int64_t frames);

    // The position that produced frame; before the first frame, the
    // position the source stood at; past the recording, the last one.
    std::uint32_t positionAt(std::int64_t frame) const;
    // The first frame of the run frame belongs to, over which the position
    // seen through mask stays the same (0xFFFF: the order): where that order
    // or row began.
    std::int64_t runStart(std::int64_t frame, std::uint32_t mask) const;
    // The first frame at or after `from` where the position seen through
    // mask changes; frames() when none does within the recording.
    std::int64_t nextChange(std::int64_t from, std::uint32_t mask) const;

    // The position a listener of the mixing layer is told at `frame` frames
    // into the music: that of the last whole block before it.
    std::uint32_t toldAt(std::int64_t frame) const { return positionAt(frame / blockFrames_ * blockFrames_ - 1); }
    std::int64_t blockFrames() const { return blockFrames_; }

    std::int64_t frames() const { return stretches_.empty() ? 0 : stretches_.back().endFrame; }
    bool empty() const { return stretches_.empty(); }

private:
    // The index of the stretch holding frame, clamped to the recording.
    std::size_t indexAt(std::int64_t frame) const;

    std::uint32_t startPosition_ = 0;
    std::int64_t blockFrames_ = 1;
    bool ended_ = false;
    std::vector<Stretch> stretches_;
};

} // namespace zov
