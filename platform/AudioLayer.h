#pragma once

#include <cstdint>

namespace zov {

// The calls the music player makes of its audio library: device set-up,
// stream and module channels, playing, position, volume. A channel handle
// is non-zero; 0 reports a failure, whose cause errorCode() then tells.
class AudioLayer {
public:
    using Handle = std::uint32_t;
    // (sync handle, channel, data); runs on the audio thread.
    using SyncCallback = void (*)(std::uint32_t sync, std::uint32_t channel, std::uint32_t data);

    static constexpr std::uint32_t kVersion = 0x60000; // 0.6: high word 6, low word 0
    static constexpr std::uint32_t kMusicRamp = 1;
    static constexpr std::uint32_t kMusicLoop = 4;
    static constexpr std::uint32_t kStreamLoop = 4;
    static constexpr std::uint32_t kSyncEnd = 2;      // a channel reaches its end, looping included
    static constexpr std::uint32_t kFlagMono = 2;     // in channelFlags
    static constexpr std::int32_t kKeepFlags = -1;    // musicPlayEx: keep the channel's flags

    virtual ~AudioLayer() = default;

    virtual std::uint32_t version() = 0;
    // Opens the default output (device -1) at about rate samples per second.
    virtual bool init(int device, std::uint32_t rate) = 0;
    // Ramps the output to silence, stops it and forgets every channel.
    virtual void free() = 0;
    virtual bool start() = 0;

    virtual Handle streamCreateFile(const char* path) = 0;
    virtual Handle musicLoad(const char* path, std::uint32_t flags) = 0;
    virtual std::uint32_t channelFlags(Handle channel) = 0;
    virtual Handle channelSetSync(Handle channel, std::uint32_t type, std::uint32_t param, SyncCallback callback) = 0;

    // flush: start again from the beginning instead of going on.
    virtual bool streamPlay(Handle stream, bool flush, std::uint32_t flags) = 0;
    virtual bool musicPlay(Handle music) = 0;
    // position: a module position word (order low, row high).
    virtual bool musicPlayEx(Handle music, std::uint32_t position, std::int32_t flags, bool reset) = 0;
    // A module's position word, or a stream's position in sample frames, of
    // the sound being heard now.
    virtual std::uint32_t channelPosition(Handle channel) = 0;
    // Milliseconds of the channel's sound, from where it was last started
    // (whole milliseconds of whole frames, rounded down), at which the run
    // of the position being heard began, the position seen through mask
    // (0xFFFF: the order, whatever the row). Negative when the layer cannot
    // tell.
    virtual std::int64_t channelRunStartMs(Handle, std::uint32_t /*mask*/) { return -1; }
    virtual bool channelStop(Handle channel) = 0;
    // Plays the channel again from where it was last started as if
    // numerator / denominator seconds of it had already played: those are
    // rendered at once, silently, so its sound and positions go on from
    // there as they would have. False when the layer cannot.
    virtual bool channelPlayFrom(Handle, std::int64_t /*numerator*/, std::int64_t /*denominator*/) { return false; }
    // A module channel played factor times as fast, its pitch kept; false
    // when the layer or the module cannot.
    virtual bool channelSetTempo(Handle, double /*factor*/) { return false; }

    virtual bool setVolume(int volume) = 0;                 // 0..100 for all output
    virtual bool musicSetAmplify(Handle music, int amp) = 0; // 0..100, 50 leaves the level as it is
    virtual int errorCode() = 0;
};

// Error codes of the audio layer.
enum AudioError : int {
    kAudioOk = 0,
    kAudioErrorFileOpen = 2,  // the file cannot be read
    kAudioErrorDriver = 3,    // no output could be opened
    kAudioErrorHandle = 5,    // not a channel of this layer
    kAudioErrorInit = 8,      // init has not been called
    kAudioErrorAlready = 14,  // init was called twice
    kAudioErrorFileForm = 41, // the file is not in a format this layer plays
};

} // namespace zov
