#pragma once

#include "platform/MixingAudioLayer.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zov {

class Clock;

// The audio layer over Web Audio. A page has no audio thread of its own:
// the program renders the music a little ahead from its animation callback
// (pump) and queues it as buffers on the audio context's clock, so the
// sound being heard, and with it the music's position, is told by that
// clock. Without Web Audio the music plays silently on the given clock.
class WebAudioLayer final : public MixingAudioLayer {
public:
    WebAudioLayer(SourceOpener& opener, const Clock& clock);
    ~WebAudioLayer() override;

    // Renders and queues what the output plays over the next kAheadSeconds;
    // once per display frame.
    void pump();
    bool silent() const { return !output_; }

    // Rendered this far ahead of the sound: longer than a slow frame, so
    // that the sound does not break.
    static constexpr double kAheadSeconds = 0.2;

protected:
    bool openOutput(std::uint32_t rate, std::uint32_t& actualRate) override;
    void closeOutput() override;
    std::int64_t heardFrames() const override;

private:
    static constexpr std::size_t kChunkFrames = 2048;
    // Enough for every buffer still playing or waiting.
    static constexpr std::size_t kQueueLength = 16;
    struct Queued {
        double start = 0.0;     // context seconds
        std::int64_t first = 0; // its first output frame
    };

    const Clock& clock_;
    bool output_ = false;
    std::array<float, 2 * kChunkFrames> chunk_{};
    std::array<Queued, kQueueLength> queued_{};
    std::size_t queuedCount_ = 0; // ever; the newest is queued_[(queuedCount_ - 1) % kQueueLength]
    double queueEnd_ = 0.0;       // context seconds at which the queued sound ends
    std::int64_t silentStartTicks_ = -1;
    mutable std::int64_t lastHeard_ = 0;
};

} // namespace zov
