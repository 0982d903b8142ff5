#pragma once

#include "platform/Clock.h"
#include "platform/MusicPlayer.h"

#include <cstdint>

namespace zov {

// Music without sound whose position follows a clock: order 0 for ever, the
// row moving on rowsPerSecond times a second through a pattern of 64 rows
// from the moment it is played. For previews and golden frames of the
// parts, which need the rows but not the music.
class ScriptedMusicPlayer final : public MusicPlayer {
public:
    static constexpr std::int32_t kRowsPerPattern = 64;

    ScriptedMusicPlayer(const Clock& clock, std::int64_t rowsPerSecond) : clock_(clock), rowsPerSecond_(rowsPerSecond) {}

    bool load(const char*) override { return true; }
    bool start() override { return true; }
    bool resumeStream(std::int32_t) override { return false; }
    bool playAt(std::int32_t, std::int32_t) override
    {
        startTicks_ = clock_.ticks();
        return true;
    }
    bool stopStream() override { return true; }
    bool shutdown() override { return true; }
    std::int32_t order() override { return 0; }
    std::int32_t row() override
    {
        const std::int64_t rows = (clock_.ticks() - startTicks_) * rowsPerSecond_ / clock_.ticksPerSecond();
        return static_cast<std::int32_t>(rows % kRowsPerPattern);
    }
    bool pauseStream() override { return false; }
    std::int32_t streamPosition() override { return 0; }

private:
    const Clock& clock_;
    std::int64_t rowsPerSecond_;
    std::int64_t startTicks_ = 0;
};

} // namespace zov
