#pragma once

#include "platform/AudioLayer.h"
#include "platform/MusicPlayer.h"

namespace zov {

// The show's music player over an audio layer: loads a file as a stream or,
// failing that, as a looping module, plays it and reports the position being
// heard. There is one per process.
class AudioMusicPlayer final : public MusicPlayer {
public:
    // Ends the process on a fatal audio error; a test may pass one that
    // returns, and load then returns false.
    using ExitFunction = void (*)(int status);
    // Fatal audio errors end the process with this status: a show without
    // its music has failed.
    static constexpr int kFatalExitStatus = 1;

    explicit AudioMusicPlayer(AudioLayer& audio, ExitFunction exitProcess = nullptr);

    bool load(const char* path) override;
    bool start() override;
    bool resumeStream(std::int32_t unused) override;
    bool playAt(std::int32_t order, std::int32_t row) override;
    bool stopStream() override;
    bool shutdown() override;
    std::int32_t order() override;
    std::int32_t row() override;
    bool pauseStream() override;
    std::int32_t streamPosition() override;
    std::uint64_t passes() override;
    std::int64_t orderStartMs() override;
    bool playFrom(std::int64_t numerator, std::int64_t denominator) override;
    bool pauseMusic() override;
    bool setTempo(double factor) override;

private:
    void fatal(const char* text);

    AudioLayer& audio_;
    ExitFunction exit_;
    AudioLayer::Handle stream_ = 0;
    AudioLayer::Handle music_ = 0;
    std::uint32_t streamIsMono_ = 0;
    std::uint32_t savedStreamPosition_ = 0;
    std::uint64_t passesBeforeLoad_ = 0;
};

} // namespace zov
