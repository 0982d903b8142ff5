#pragma once

#include "platform/MixingAudioLayer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

union SDL_Event;

namespace zov {

class Clock;

struct SdlAudioOptions {
    bool mute = false;       // no device: play silently on the clock
    int extraLatencyMs = 0;  // heard position this much further behind
};

// The audio layer over an SDL2 audio device, mixed in its callback. Without
// a device (no sound server, a headless machine, or muted), or once the
// device goes away mid-show, the music plays silently, still moved on by
// the clock so that the show keeps its timing.
class SdlAudioLayer final : public MixingAudioLayer {
public:
    SdlAudioLayer(SourceOpener& opener, const Clock& clock, SdlAudioOptions options = {});
    ~SdlAudioLayer() override;

    bool silent() const { return device_ == 0 || deviceLost_; }

protected:
    bool openOutput(std::uint32_t rate, std::uint32_t& actualRate) override;
    void closeOutput() override;
    void startOutput() override;
    void lockOutput() override;
    void unlockOutput() override;
    std::int64_t heardFrames() const override;
    void playFade() override;

private:
    static void callback(void* self, std::uint8_t* stream, int length);
    static int watchEvent(void* self, SDL_Event* event);
    bool openDevice(std::uint32_t rate, std::uint32_t& actualRate);
    // From any thread: the rest of the music goes on silently on the clock.
    void loseDevice();
    void startSilently(std::int64_t rate);
    void runSilently(std::int64_t rate, std::int64_t startFrame, std::int64_t startTicks);
    // Records what was mixed and when, for heardFrames().
    void noteMixed();

    const Clock& clock_;
    SdlAudioOptions options_;
    std::uint32_t device_ = 0;
    bool audioInitialised_ = false;
    std::int64_t deviceRate_ = 0;    // frames a second
    std::int64_t bufferFrames_ = 0;  // one device buffer
    std::int64_t latencyFrames_ = 0; // rendered output not heard yet at a callback

    // Written by the output thread under a sequence count, read anywhere.
    std::atomic<std::uint32_t> sequence_{0};
    std::atomic<std::int64_t> mixedAtCallback_{0};
    std::atomic<std::int64_t> callbackTicks_{0};
    mutable std::atomic<std::int64_t> lastHeard_{0};

    std::atomic<bool> deviceLost_{false};

    // Whoever mixes (the device's callback or the silent thread) holds this.
    std::mutex mixMutex_;
    std::thread silentThread_;
    std::atomic<bool> stopSilent_{false};
    std::array<float, 2 * 4096> silentBuffer_{};
};

} // namespace zov
