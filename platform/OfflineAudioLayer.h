#pragma once

#include "platform/MixingAudioLayer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zov {

// The audio layer without a device: output is rendered only when step() is
// told to, so tests and frame capture walk the music deterministically.
// free() renders the fade at once; the steps after it hand it out first,
// then silence.
class OfflineAudioLayer final : public MixingAudioLayer {
public:
    explicit OfflineAudioLayer(SourceOpener& opener);
    ~OfflineAudioLayer() override;

    // Renders frames of output; into out (2 * frames interleaved stereo
    // floats) when given, otherwise they are dropped. After free(), the
    // fade's rest and then silence.
    void step(std::size_t frames, float* out = nullptr);
    // Positions are told this many frames behind the rendered output, as
    // behind a device buffer; 0 by default.
    void setLatencyFrames(std::int64_t frames) { latency_ = frames; }

protected:
    bool openOutput(std::uint32_t rate, std::uint32_t& actualRate) override;
    void closeOutput() override {}
    std::int64_t heardFrames() const override;
    void playFade() override;

private:
    static constexpr std::size_t kChunkFrames = 4096;
    std::array<float, 2 * kChunkFrames> drop_{};
    std::vector<float> fade_; // made by openOutput
    std::size_t fadeAt_ = 0;  // stereo frames of fade_ handed out
    std::size_t fadeEnd_ = 0; // stereo frames of fade_ rendered
    std::int64_t latency_ = 0;
};

} // namespace zov
