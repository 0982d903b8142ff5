#include "platform/OfflineAudioLayer.h"

#include <algorithm>

namespace zov {

OfflineAudioLayer::OfflineAudioLayer(SourceOpener& opener) : MixingAudioLayer(opener) {}

OfflineAudioLayer::~OfflineAudioLayer()
{
    free();
}

bool OfflineAudioLayer::openOutput(std::uint32_t rate, std::uint32_t& actualRate)
{
    actualRate = rate;
    fade_.assign(2 * (static_cast<std::size_t>(rate) * kFadeMillis / 1000), 0.0f);
    fadeAt_ = 0;
    fadeEnd_ = 0;
    return true;
}

void OfflineAudioLayer::playFade()
{
    fadeEnd_ = fadeFrames();
    fadeAt_ = 0;
    mix(fade_.data(), fadeEnd_);
}

void OfflineAudioLayer::step(std::size_t frames, float* out)
{
    if (!initialised()) {
        const std::size_t n = std::min(frames, fadeEnd_ - fadeAt_);
        if (out) {
            std::copy_n(fade_.begin() + 2 * static_cast<std::ptrdiff_t>(fadeAt_), 2 * n, out);
            std::fill(out + 2 * n, out + 2 * frames, 0.0f);
        }
        fadeAt_ += n;
        return;
    }
    if (out) {
        mix(out, frames);
        return;
    }
    while (frames > 0) {
        const std::size_t n = std::min(frames, kChunkFrames);
        mix(drop_.data(), n);
        frames -= n;
    }
}

std::int64_t OfflineAudioLayer::heardFrames() const
{
    return std::max<std::int64_t>(0, framesMixed() - latency_);
}

} // namespace zov
