#include "platform/sdl/SdlAudioLayer.h"

#include "platform/Clock.h"
#include "platform/sdl/QuietStderr.h"

#include <SDL.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace zov {

namespace {

constexpr int kDeviceBufferFrames = 1024;
constexpr std::int64_t kSilentStepMs = 5;

} // namespace

SdlAudioLayer::SdlAudioLayer(SourceOpener& opener, const Clock& clock, SdlAudioOptions options)
    : MixingAudioLayer(opener), clock_(clock), options_(options)
{
}

SdlAudioLayer::~SdlAudioLayer()
{
    free();
}

bool SdlAudioLayer::openOutput(std::uint32_t rate, std::uint32_t& actualRate)
{
    mixedAtCallback_.store(0);
    callbackTicks_.store(clock_.ticks());
    lastHeard_.store(0);
    deviceLost_ = false;
    const std::int64_t extra = static_cast<std::int64_t>(options_.extraLatencyMs) * rate / 1000;
    if (!options_.mute && openDevice(rate, actualRate)) {
        latencyFrames_ += extra * actualRate / rate;
        return true;
    }
    // Silent: what is mixed is "heard" at once; positions come in steps of
    // the thread's wake-ups and are carried on by the clock between them.
    actualRate = rate;
    bufferFrames_ = static_cast<std::int64_t>(rate) * kSilentStepMs / 1000;
    latencyFrames_ = extra;
    startSilently(rate);
    return true;
}

bool SdlAudioLayer::openDevice(std::uint32_t rate, std::uint32_t& actualRate)
{
    bool initialised = false;
    {
        QuietStderr quiet;
        initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    if (!initialised) {
        std::fprintf(stderr, "no audio device (%s): playing without sound\n", SDL_GetError());
        return false;
    }
    audioInitialised_ = true;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(rate);
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kDeviceBufferFrames;
    want.callback = callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    {
        QuietStderr quiet;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                      SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    }
    if (device_ == 0) {
        std::fprintf(stderr, "no audio device (%s): playing without sound\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioInitialised_ = false;
        return false;
    }
    actualRate = static_cast<std::uint32_t>(have.freq);
    deviceRate_ = have.freq;
    bufferFrames_ = have.samples;
    // When a callback runs, the buffer before it is still playing: what is
    // heard then lies two buffers behind the newest output.
    latencyFrames_ = 2 * static_cast<std::int64_t>(have.samples);
    SDL_AddEventWatch(watchEvent, this);
    // Gone before the watch was set: SDL tells it only by the status.
    if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED)
        loseDevice();
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

int SdlAudioLayer::watchEvent(void* self, SDL_Event* event)
{
    auto* layer = static_cast<SdlAudioLayer*>(self);
    if (event->type == SDL_AUDIODEVICEREMOVED && event->adevice.iscapture == 0 &&
        event->adevice.which == layer->device_)
        layer->loseDevice();
    return 1;
}

// SDL may go on calling back after its device went, or may not; from now on
// the silent thread mixes on the clock from where the device stopped, and
// the callback only writes silence. The device is closed with the layer:
// not here, where SDL's own audio thread may be the caller.
void SdlAudioLayer::loseDevice()
{
    if (deviceLost_.exchange(true))
        return;
    std::fprintf(stderr, "audio device removed: playing without sound\n");
    startSilently(deviceRate_);
}

void SdlAudioLayer::startSilently(std::int64_t rate)
{
    std::lock_guard<std::mutex> hold(mixMutex_);
    stopSilent_ = false;
    const std::int64_t startFrame = framesMixed();
    const std::int64_t startTicks = clock_.ticks();
    silentThread_ = std::thread([this, rate, startFrame, startTicks] { runSilently(rate, startFrame, startTicks); });
}

void SdlAudioLayer::closeOutput()
{
    if (device_ != 0) {
        // Once this returns no watch runs, so none can start a thread.
        SDL_DelEventWatch(watchEvent, this);
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (audioInitialised_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioInitialised_ = false;
    }
    if (silentThread_.joinable()) {
        stopSilent_ = true;
        silentThread_.join();
    }
}

void SdlAudioLayer::playFade()
{
    if (device_ == 0)
        return;
    // Until the fade has been mixed and the buffers ahead of it played:
    // closing the device drops what it holds. A device that stalls is not
    // waited for past twice that time.
    const std::int64_t frames = static_cast<std::int64_t>(fadeFrames()) + latencyFrames_;
    const std::int64_t until = framesMixed() + frames;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(50 + 2000 * frames / outputRate());
    while (framesMixed() < until && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void SdlAudioLayer::startOutput()
{
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
}

void SdlAudioLayer::lockOutput()
{
    mixMutex_.lock();
}

void SdlAudioLayer::unlockOutput()
{
    mixMutex_.unlock();
}

void SdlAudioLayer::callback(void* self, std::uint8_t* stream, int length)
{
    auto* layer = static_cast<SdlAudioLayer*>(self);
    std::lock_guard<std::mutex> hold(layer->mixMutex_);
    if (layer->deviceLost_) {
        std::memset(stream, 0, static_cast<std::size_t>(length)); // float silence
        return;
    }
    const auto frames = static_cast<std::size_t>(length) / (2 * sizeof(float));
    layer->mix(reinterpret_cast<float*>(stream), frames);
    layer->noteMixed();
}

void SdlAudioLayer::runSilently(std::int64_t rate, std::int64_t startFrame, std::int64_t startTicks)
{
    const std::int64_t perSecond = clock_.ticksPerSecond();
    const std::int64_t chunk = static_cast<std::int64_t>(silentBuffer_.size() / 2);
    while (!stopSilent_) {
        const std::int64_t elapsed = clock_.ticks() - startTicks;
        const std::int64_t due =
            startFrame + static_cast<std::int64_t>(static_cast<double>(elapsed) * rate / perSecond);
        {
            std::lock_guard<std::mutex> hold(mixMutex_);
            for (std::int64_t mixed = framesMixed(); mixed < due; mixed = framesMixed())
                mix(silentBuffer_.data(), static_cast<std::size_t>(std::min(due - mixed, chunk)));
            noteMixed();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kSilentStepMs));
    }
}

void SdlAudioLayer::noteMixed()
{
    const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    mixedAtCallback_.store(framesMixed(), std::memory_order_relaxed);
    callbackTicks_.store(clock_.ticks(), std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
}

std::int64_t SdlAudioLayer::heardFrames() const
{
    std::int64_t mixed = 0;
    std::int64_t ticks = 0;
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        mixed = mixedAtCallback_.load(std::memory_order_relaxed);
        ticks = callbackTicks_.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1) == 0 && sequence_.load(std::memory_order_relaxed) == before)
            break;
    }
    // Carried on by wall time since the last callback, but never past the
    // buffer the next callback should have refilled.
    const double seconds = static_cast<double>(clock_.ticks() - ticks) / static_cast<double>(clock_.ticksPerSecond());
    const auto since = static_cast<std::int64_t>(seconds * outputRate());
    std::int64_t heard = mixed - latencyFrames_ + std::clamp<std::int64_t>(since, 0, bufferFrames_);
    heard = std::clamp<std::int64_t>(heard, 0, mixed);
    // Never backwards: a late callback must not make a row play twice.
    std::int64_t last = lastHeard_.load(std::memory_order_relaxed);
    while (heard > last && !lastHeard_.compare_exchange_weak(last, heard, std::memory_order_relaxed)) {
    }
    return std::max(heard, last);
}

} // namespace zov
