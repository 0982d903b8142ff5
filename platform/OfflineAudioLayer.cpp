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
    return true;
}

void OfflineAudioLayer::step(std::size_t frames, float* out)
{
    if (!initialised())
        return;
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
