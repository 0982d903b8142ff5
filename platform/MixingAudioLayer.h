#pragma once

#include "platform/AudioLayer.h"
#include "platform/AudioSource.h"
#include "platform/PositionTimeline.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace zov {

// The audio layer's channels and mixing, whatever the output: an output
// back-end opens a device (or none) and calls mix() from its own thread with
// the layer held still (lockOutput). Channel positions are told for the
// output frame being heard, which the back-end estimates.
class MixingAudioLayer : public AudioLayer {
public:
    // Channels render in blocks of this many frames, counted from the
    // frame they started playing at, and publish their position after each
    // whole block: a position is told to within one block (3.3 ms at
    // 44100 Hz), and exactly for a module at 125 BPM, whose 882-frame tick is
    // six blocks. Frames of a block not yet whole tell the block before.
    static constexpr std::size_t kBlockFrames = 147;
    // free() ramps the output to silence over this long before it closes:
    // music stopped at full level would end with a click.
    static constexpr std::uint32_t kFadeMillis = 5;

    explicit MixingAudioLayer(SourceOpener& opener);
    // A back-end's destructor must call free() while its hooks still exist.
    ~MixingAudioLayer() override;

    std::uint32_t version() override { return kVersion; }
    bool init(int device, std::uint32_t rate) override;
    void free() override;
    bool start() override;
    Handle streamCreateFile(const char* path) override;
    Handle musicLoad(const char* path, std::uint32_t flags) override;
    std::uint32_t channelFlags(Handle channel) override;
    Handle channelSetSync(Handle channel, std::uint32_t type, std::uint32_t param, SyncCallback callback) override;
    bool streamPlay(Handle stream, bool flush, std::uint32_t flags) override;
    bool musicPlay(Handle music) override;
    bool musicPlayEx(Handle music, std::uint32_t position, std::int32_t flags, bool reset) override;
    std::uint32_t channelPosition(Handle channel) override;
    std::int64_t channelRunStartMs(Handle channel, std::uint32_t mask) override;
    bool channelStop(Handle channel) override;
    bool channelPlayFrom(Handle channel, std::int64_t numerator, std::int64_t denominator) override;
    bool channelSetTempo(Handle channel, double factor) override;
    bool setVolume(int volume) override;
    bool musicSetAmplify(Handle music, int amp) override;
    int errorCode() override { return error_; }

    // Output frames mixed since init.
    std::int64_t framesMixed() const { return framesMixed_.load(std::memory_order_acquire); }
    std::uint32_t outputRate() const { return rate_; }
    bool initialised() const { return initialised_; }

protected:
    // Writes frames of interleaved stereo output. Only from the output's
    // thread, with the layer held still.
    void mix(float* leftRight, std::size_t frames);

    // Opens the output at about rate; actualRate is what it runs at.
    virtual bool openOutput(std::uint32_t rate, std::uint32_t& actualRate) = 0;
    // Stops the output: mix() is not called after this returns.
    virtual void closeOutput() = 0;
    virtual void startOutput() {}
    virtual void lockOutput() {}
    virtual void unlockOutput() {}
    // Output frames heard so far: the sound being heard now is that of
    // frame heardFrames() - 1.
    virtual std::int64_t heardFrames() const = 0;
    // Called by free() once the fade has begun and before closeOutput():
    // lets the next fadeFrames() of output, the fade, be mixed and reach
    // the listener. The fade is mixed with the next frames, so a back-end
    // that never mixes again may return at once.
    virtual void playFade() {}
    std::size_t fadeFrames() const { return static_cast<std::size_t>(rate_) * kFadeMillis / 1000; }

private:
    struct Channel;
    class Hold;

    Channel* find(Handle handle);
    Channel* findModule(Handle handle);
    Channel* findStream(Handle handle);
    Handle addChannel(SourceOpener::Result opened, bool module);
    // Renders the channel's frames from output frame `first` on, adding them
    // into out when given, publishing its positions.
    void renderChannel(Channel& channel, std::int64_t first, float* out, std::size_t frames);
    void fade(float* out, std::size_t frames);

    SourceOpener& opener_;
    std::vector<std::unique_ptr<Channel>> channels_;
    std::vector<float> scratch_;
    std::atomic<std::int64_t> framesMixed_{0};
    std::uint32_t rate_ = 0;
    Handle nextHandle_ = 1;
    int error_ = kAudioOk;
    float volume_ = 1.0f;
    // Frames of the fade still to mix; -1 when not fading. After the fade
    // everything mixed is silence.
    std::int64_t fadeLeft_ = -1;
    bool initialised_ = false;
};

} // namespace zov
