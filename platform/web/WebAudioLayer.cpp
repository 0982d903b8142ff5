#include "platform/web/WebAudioLayer.h"

#include "platform/Clock.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

namespace zov {

namespace {

// clang-format off
// The page's audio context when it made one (so that a click can let it
// play before the program is loaded), otherwise a new one. Returns its
// rate, or 0 when the browser has no Web Audio.
EM_JS(int, zovAudioOpen, (int rate), {
    let context = typeof zov === "object" ? zov.audioContext : null;
    if (!context) {
        const Context = window.AudioContext || window.webkitAudioContext;
        if (!Context)
            return 0;
        try {
            context = new Context({sampleRate: rate});
        } catch (e) {
            try {
                context = new Context();
            } catch (e2) {
                return 0;
            }
        }
    }
    const output = context.createGain();
    output.connect(context.destination);
    Module.zovAudio = {context: context, output: output};
    return context.sampleRate;
});

EM_JS(void, zovAudioClose, (), {
    if (Module.zovAudio) {
        Module.zovAudio.output.disconnect();
        Module.zovAudio = null;
    }
});

EM_JS(double, zovAudioTime, (), {
    return Module.zovAudio.context.currentTime;
});

// The context time of the sound leaving the output now: behind the time
// of what is being rendered by the output's latency.
EM_JS(double, zovAudioHeardTime, (), {
    const context = Module.zovAudio.context;
    let t = context.currentTime - (context.outputLatency || context.baseLatency || 0);
    if (context.getOutputTimestamp) {
        const stamp = context.getOutputTimestamp();
        if (stamp.performanceTime > 0)
            t = stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000;
    }
    return Math.min(t, context.currentTime);
});

// Plays frames of interleaved stereo from context time `earliest`, or as
// soon as it can when that has passed; returns the time it starts.
EM_JS(double, zovAudioQueue, (const float* leftRight, int frames, double earliest), {
    const audio = Module.zovAudio;
    const context = audio.context;
    const buffer = context.createBuffer(2, frames, context.sampleRate);
    const left = buffer.getChannelData(0);
    const right = buffer.getChannelData(1);
    for (let i = 0, j = leftRight >> 2; i < frames; ++i, j += 2) {
        left[i] = HEAPF32[j];
        right[i] = HEAPF32[j + 1];
    }
    const source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.output);
    const at = Math.max(earliest, context.currentTime + 0.02);
    source.start(at);
    return at;
});
// clang-format on

} // namespace

WebAudioLayer::WebAudioLayer(SourceOpener& opener, const Clock& clock) : MixingAudioLayer(opener), clock_(clock) {}

WebAudioLayer::~WebAudioLayer()
{
    free();
}

bool WebAudioLayer::openOutput(std::uint32_t rate, std::uint32_t& actualRate)
{
    queuedCount_ = 0;
    queueEnd_ = 0.0;
    silentStartTicks_ = -1;
    lastHeard_ = 0;
    const int contextRate = zovAudioOpen(static_cast<int>(rate));
    output_ = contextRate > 0;
    actualRate = output_ ? static_cast<std::uint32_t>(contextRate) : rate;
    return true;
}

void WebAudioLayer::closeOutput()
{
    if (output_)
        zovAudioClose();
    output_ = false;
}

void WebAudioLayer::pump()
{
    if (!initialised())
        return;
    if (!output_) {
        // What is due by the clock is "heard" as soon as it is mixed.
        if (silentStartTicks_ < 0)
            silentStartTicks_ = clock_.ticks();
        const double seconds =
            static_cast<double>(clock_.ticks() - silentStartTicks_) / static_cast<double>(clock_.ticksPerSecond());
        const auto due = static_cast<std::int64_t>(seconds * outputRate());
        for (std::int64_t mixed = framesMixed(); mixed < due; mixed = framesMixed())
            mix(chunk_.data(), static_cast<std::size_t>(std::min<std::int64_t>(due - mixed, kChunkFrames)));
        return;
    }
    const double rate = outputRate();
    const double until = zovAudioTime() + kAheadSeconds;
    while (queueEnd_ < until) {
        const std::int64_t first = framesMixed();
        mix(chunk_.data(), kChunkFrames);
        const double start = zovAudioQueue(chunk_.data(), static_cast<int>(kChunkFrames), queueEnd_);
        queued_[queuedCount_++ % kQueueLength] = {start, first};
        queueEnd_ = start + static_cast<double>(kChunkFrames) / rate;
    }
}

std::int64_t WebAudioLayer::heardFrames() const
{
    if (!output_)
        return framesMixed();
    if (queuedCount_ == 0)
        return lastHeard_;
    // The newest buffer that has begun to sound; a gap after one that
    // ended (a page left in the background) holds at its end.
    const double t = zovAudioHeardTime();
    const std::size_t kept = std::min(queuedCount_, kQueueLength);
    std::int64_t heard = queued_[(queuedCount_ - kept) % kQueueLength].first;
    for (std::size_t back = 1; back <= kept; ++back) {
        const Queued& q = queued_[(queuedCount_ - back) % kQueueLength];
        if (q.start <= t) {
            const auto into = static_cast<std::int64_t>(std::floor((t - q.start) * outputRate()));
            heard = q.first + std::min<std::int64_t>(into, kChunkFrames);
            break;
        }
    }
    lastHeard_ = std::clamp(std::max(heard, lastHeard_), std::int64_t{0}, framesMixed());
    return lastHeard_;
}

} // namespace zov
