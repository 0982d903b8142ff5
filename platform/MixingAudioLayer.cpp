#include "platform/MixingAudioLayer.h"

#include <algorithm>

namespace zov {

struct MixingAudioLayer::Channel {
    struct Sync {
        Handle handle;
        SyncCallback callback;
    };

    Handle handle = 0;
    bool module = false;
    std::unique_ptr<AudioSource> source;
    bool playing = false;
    float gain = 1.0f;
    std::int64_t startFrame = 0; // output frame its blocks count from
    // Output frames before this one are not its sound since it was last
    // started: they tell the position it started at.
    std::int64_t heardFrom = 0;
    std::uint32_t playPosition = 0; // where it was last started
    std::uint64_t endsSeen = 0;
    std::vector<Sync> syncs;
    PositionTimeline timeline;
};

// Holds the output still for the lifetime of the object.
class MixingAudioLayer::Hold {
public:
    explicit Hold(MixingAudioLayer& layer) : layer_(layer) { layer_.lockOutput(); }
    ~Hold() { layer_.unlockOutput(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    MixingAudioLayer& layer_;
};

MixingAudioLayer::MixingAudioLayer(SourceOpener& opener) : opener_(opener), scratch_(2 * kBlockFrames) {}

MixingAudioLayer::~MixingAudioLayer() = default;

bool MixingAudioLayer::init(int, std::uint32_t rate)
{
    if (initialised_) {
        error_ = kAudioErrorAlready;
        return false;
    }
    std::uint32_t actual = rate;
    if (!openOutput(rate, actual) || actual == 0) {
        error_ = kAudioErrorDriver;
        return false;
    }
    rate_ = actual;
    framesMixed_.store(0, std::memory_order_release);
    volume_ = 1.0f;
    fadeLeft_ = -1;
    initialised_ = true;
    error_ = kAudioOk;
    return true;
}

void MixingAudioLayer::free()
{
    if (!initialised_)
        return;
    {
        Hold hold(*this);
        fadeLeft_ = static_cast<std::int64_t>(fadeFrames());
    }
    playFade();
    closeOutput();
    channels_.clear();
    fadeLeft_ = -1;
    initialised_ = false;
    error_ = kAudioOk;
}

bool MixingAudioLayer::start()
{
    if (!initialised_) {
        error_ = kAudioErrorInit;
        return false;
    }
    startOutput();
    return true;
}

MixingAudioLayer::Channel* MixingAudioLayer::find(Handle handle)
{
    for (auto& channel : channels_)
        if (channel->handle == handle)
            return channel.get();
    error_ = initialised_ ? kAudioErrorHandle : kAudioErrorInit;
    return nullptr;
}

MixingAudioLayer::Channel* MixingAudioLayer::findModule(Handle handle)
{
    Channel* channel = find(handle);
    if (channel && !channel->module) {
        error_ = kAudioErrorHandle;
        return nullptr;
    }
    return channel;
}

MixingAudioLayer::Channel* MixingAudioLayer::findStream(Handle handle)
{
    Channel* channel = find(handle);
    if (channel && channel->module) {
        error_ = kAudioErrorHandle;
        return nullptr;
    }
    return channel;
}

AudioLayer::Handle MixingAudioLayer::addChannel(SourceOpener::Result opened, bool module)
{
    if (!opened.source) {
        error_ = opened.error != kAudioOk ? opened.error : kAudioErrorFileForm;
        return 0;
    }
    auto channel = std::make_unique<Channel>();
    channel->handle = nextHandle_++;
    channel->module = module;
    channel->timeline.restart(opened.source->position(), framesMixed());
    channel->source = std::move(opened.source);
    const Handle handle = channel->handle;
    Hold hold(*this);
    channels_.push_back(std::move(channel));
    error_ = kAudioOk;
    return handle;
}

AudioLayer::Handle MixingAudioLayer::streamCreateFile(const char* path)
{
    if (!initialised_) {
        error_ = kAudioErrorInit;
        return 0;
    }
    return addChannel(opener_.openStream(path, static_cast<int>(rate_)), false);
}

AudioLayer::Handle MixingAudioLayer::musicLoad(const char* path, std::uint32_t flags)
{
    if (!initialised_) {
        error_ = kAudioErrorInit;
        return 0;
    }
    SourceOpener::Result opened = opener_.openModule(path, static_cast<int>(rate_));
    if (opened.source)
        opened.source->setLooping((flags & kMusicLoop) != 0);
    return addChannel(std::move(opened), true);
}

std::uint32_t MixingAudioLayer::channelFlags(Handle handle)
{
    Channel* channel = find(handle);
    if (!channel)
        return 0;
    std::uint32_t flags = channel->source->fileChannels() == 1 ? kFlagMono : 0;
    if (channel->source->looping())
        flags |= channel->module ? kMusicLoop : kStreamLoop;
    return flags;
}

AudioLayer::Handle MixingAudioLayer::channelSetSync(Handle handle, std::uint32_t type, std::uint32_t,
                                                    SyncCallback callback)
{
    Channel* channel = find(handle);
    if (!channel || type != kSyncEnd || !callback)
        return 0;
    Hold hold(*this);
    const Handle sync = nextHandle_++;
    channel->syncs.push_back({sync, callback});
    return sync;
}

bool MixingAudioLayer::streamPlay(Handle handle, bool flush, std::uint32_t flags)
{
    Channel* channel = findStream(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    channel->source->setLooping((flags & kStreamLoop) != 0);
    if (flush) {
        channel->source->seek(0);
        channel->timeline.restart(0, framesMixed());
    }
    channel->startFrame = framesMixed();
    channel->playing = true;
    return true;
}

bool MixingAudioLayer::musicPlay(Handle handle)
{
    Channel* channel = findModule(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    if (!channel->playing) {
        channel->startFrame = framesMixed();
        channel->playPosition = channel->source->position();
    }
    channel->playing = true;
    return true;
}

bool MixingAudioLayer::musicPlayEx(Handle handle, std::uint32_t position, std::int32_t flags, bool)
{
    Channel* channel = findModule(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    if (flags != kKeepFlags)
        channel->source->setLooping((static_cast<std::uint32_t>(flags) & kMusicLoop) != 0);
    // A position outside the module leaves it where it is, as a seek does.
    channel->source->seek(position);
    channel->playPosition = channel->source->position();
    channel->timeline.restart(channel->source->position(), framesMixed());
    channel->startFrame = framesMixed();
    channel->heardFrom = framesMixed();
    channel->endsSeen = channel->source->endCount();
    channel->playing = true;
    return true;
}

std::uint32_t MixingAudioLayer::channelPosition(Handle handle)
{
    Channel* channel = find(handle);
    if (!channel)
        return 0;
    return channel->timeline.positionAt(std::max(heardFrames(), channel->heardFrom) - 1);
}

std::int64_t MixingAudioLayer::channelRunStartMs(Handle handle, std::uint32_t mask)
{
    Channel* channel = find(handle);
    if (!channel || rate_ == 0)
        return -1;
    const std::int64_t first = channel->timeline.runStart(std::max(heardFrames(), channel->heardFrom) - 1, mask);
    return std::max<std::int64_t>(first - channel->startFrame, 0) * 1000 / rate_;
}

bool MixingAudioLayer::channelStop(Handle handle)
{
    Channel* channel = find(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    channel->playing = false;
    return true;
}

bool MixingAudioLayer::channelPlayFrom(Handle handle, std::int64_t numerator, std::int64_t denominator)
{
    Channel* channel = findModule(handle);
    if (!channel || denominator <= 0 || numerator < 0)
        return false;
    Hold hold(*this);
    const std::int64_t skipped = numerator * static_cast<std::int64_t>(rate_) / denominator;
    channel->source->seek(channel->playPosition);
    channel->startFrame = framesMixed() - skipped;
    // What was playing before is still heard for a while; the skipped
    // sound never is, so until the new sound comes the channel tells where
    // it landed.
    channel->heardFrom = framesMixed();
    channel->timeline.restart(channel->source->position(), channel->startFrame);
    channel->endsSeen = channel->source->endCount();
    channel->playing = true;
    channel->source->setDraft(true);
    for (std::int64_t done = 0; done < skipped && channel->playing;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(skipped - done, 1 << 16));
        renderChannel(*channel, channel->startFrame + done, nullptr, n);
        done += static_cast<std::int64_t>(n);
    }
    channel->source->setDraft(false);
    return true;
}

bool MixingAudioLayer::channelSetTempo(Handle handle, double factor)
{
    Channel* channel = findModule(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    return channel->source->setTempo(factor);
}

bool MixingAudioLayer::setVolume(int volume)
{
    if (!initialised_) {
        error_ = kAudioErrorInit;
        return false;
    }
    Hold hold(*this);
    volume_ = static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
    return true;
}

bool MixingAudioLayer::musicSetAmplify(Handle handle, int amp)
{
    Channel* channel = findModule(handle);
    if (!channel)
        return false;
    Hold hold(*this);
    channel->gain = static_cast<float>(std::clamp(amp, 0, 100)) / 50.0f;
    return true;
}

void MixingAudioLayer::mix(float* out, std::size_t frames)
{
    std::fill(out, out + 2 * frames, 0.0f);
    if (fadeLeft_ != 0)
        for (auto& channel : channels_)
            if (channel->playing)
                renderChannel(*channel, framesMixed(), out, frames);
    for (std::size_t i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i] * volume_, -1.0f, 1.0f);
    if (fadeLeft_ >= 0)
        fade(out, frames);
    framesMixed_.store(framesMixed() + static_cast<std::int64_t>(frames), std::memory_order_release);
}

void MixingAudioLayer::fade(float* out, std::size_t frames)
{
    // A straight line from the level before the fade down to 0.
    const auto length = static_cast<float>(fadeFrames());
    for (std::size_t f = 0; f < frames; ++f) {
        if (fadeLeft_ > 0)
            --fadeLeft_;
        const float gain = fadeLeft_ > 0 ? static_cast<float>(fadeLeft_) / length : 0.0f;
        out[2 * f] *= gain;
        out[2 * f + 1] *= gain;
    }
}

void MixingAudioLayer::renderChannel(Channel& channel, std::int64_t first, float* out, std::size_t frames)
{
    std::size_t done = 0;
    while (done < frames && channel.playing) {
        const std::int64_t at = first + static_cast<std::int64_t>(done);
        const auto intoBlock =
            static_cast<std::size_t>((at - channel.startFrame) % static_cast<std::int64_t>(kBlockFrames));
        const std::size_t want = std::min(frames - done, kBlockFrames - intoBlock);
        const std::size_t got = channel.source->render(scratch_.data(), want);
        if (out) {
            float* dest = out + 2 * done;
            for (std::size_t i = 0; i < 2 * got; ++i)
                dest[i] += scratch_[i] * channel.gain;
        }
        if (got < want)
            channel.playing = false;
        done += want;
        // A module tells whole blocks only, so that the rows told do not
        // depend on how the output was cut into calls; a stream's frame
        // count is exact anywhere, and a block cut short by the end of the
        // sound says so at once.
        if (!channel.module || intoBlock + want == kBlockFrames || !channel.playing)
            channel.timeline.publish(first + static_cast<std::int64_t>(done), channel.source->position());
        const std::uint64_t ends = channel.source->endCount();
        if (ends != channel.endsSeen) {
            channel.endsSeen = ends;
            for (const Channel::Sync& sync : channel.syncs)
                sync.callback(sync.handle, channel.handle, 0);
        }
    }
}

} // namespace zov
