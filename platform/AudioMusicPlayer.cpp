#include "platform/AudioMusicPlayer.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace zov {

namespace {

constexpr std::uint32_t kSampleRate = 44100;

void ignoreSync(std::uint32_t, std::uint32_t, std::uint32_t) {}

// Sync callbacks carry no pointer back to the player; there is one player
// per process, and each counts from what it found at load.
std::atomic<std::uint64_t> gModulePasses{0};

void countPass(std::uint32_t, std::uint32_t, std::uint32_t)
{
    gModulePasses.fetch_add(1, std::memory_order_relaxed);
}

void exitProcess(int status)
{
    std::exit(status);
}

} // namespace

AudioMusicPlayer::AudioMusicPlayer(AudioLayer& audio, ExitFunction exitFunction)
    : audio_(audio), exit_(exitFunction ? exitFunction : exitProcess)
{
}

void AudioMusicPlayer::fatal(const char* text)
{
    std::printf("BASS Error(%d): %s\n", audio_.errorCode(), text);
    std::fflush(stdout);
    audio_.free();
    stream_ = 0;
    music_ = 0;
    exit_(kFatalExitStatus);
}

bool AudioMusicPlayer::load(const char* path)
{
    std::printf("bass used for module replaying\n");
    if (audio_.version() != AudioLayer::kVersion) {
        std::printf("BASS version 0.6 was not loaded\n");
        return false;
    }
    if (!audio_.init(-1, kSampleRate)) {
        fatal("Can't initialize device");
        return false;
    }
    std::printf("trying to load stream %s \n", path);
    stream_ = audio_.streamCreateFile(path);
    if (stream_ != 0) {
        streamIsMono_ = audio_.channelFlags(stream_) & AudioLayer::kFlagMono;
        audio_.channelSetSync(stream_, AudioLayer::kSyncEnd, 0, ignoreSync);
        return true;
    }
    std::printf("trying to load mod %s \n", path);
    music_ = audio_.musicLoad(path, AudioLayer::kMusicLoop | AudioLayer::kMusicRamp);
    if (music_ == 0) {
        fatal("Can't play the file");
        return false;
    }
    passesBeforeLoad_ = gModulePasses.load(std::memory_order_relaxed);
    audio_.channelSetSync(music_, AudioLayer::kSyncEnd, 0, countPass);
    return true;
}

bool AudioMusicPlayer::start()
{
    audio_.start();
    audio_.setVolume(100);
    audio_.musicSetAmplify(music_, 70);
    if (stream_ != 0)
        return audio_.streamPlay(stream_, false, AudioLayer::kStreamLoop);
    return audio_.musicPlay(music_);
}

bool AudioMusicPlayer::resumeStream(std::int32_t)
{
    if (stream_ == 0)
        return false;
    return audio_.streamPlay(stream_, false, AudioLayer::kStreamLoop);
}

bool AudioMusicPlayer::playAt(std::int32_t order, std::int32_t row)
{
    audio_.start();
    if (music_ == 0)
        return false;
    audio_.musicPlayEx(music_, modulePosition(order, row), AudioLayer::kKeepFlags, true);
    return true;
}

bool AudioMusicPlayer::stopStream()
{
    if (stream_ != 0)
        audio_.channelStop(stream_);
    return music_ != 0;
}

bool AudioMusicPlayer::shutdown()
{
    audio_.free();
    return true;
}

std::int32_t AudioMusicPlayer::order()
{
    return music_ == 0 ? 0 : positionOrder(audio_.channelPosition(music_));
}

std::int64_t AudioMusicPlayer::orderStartMs()
{
    constexpr std::uint32_t kOrderBits = 0xFFFF;
    return music_ == 0 ? -1 : audio_.channelRunStartMs(music_, kOrderBits);
}

bool AudioMusicPlayer::playFrom(std::int64_t numerator, std::int64_t denominator)
{
    return music_ != 0 && audio_.channelPlayFrom(music_, numerator, denominator);
}

bool AudioMusicPlayer::pauseMusic()
{
    return music_ != 0 && audio_.channelStop(music_);
}

bool AudioMusicPlayer::setTempo(double factor)
{
    return music_ != 0 && audio_.channelSetTempo(music_, factor);
}

std::int32_t AudioMusicPlayer::row()
{
    return music_ == 0 ? 0 : positionRow(audio_.channelPosition(music_));
}

bool AudioMusicPlayer::pauseStream()
{
    if (stream_ == 0)
        return false;
    savedStreamPosition_ = audio_.channelPosition(stream_);
    audio_.channelStop(stream_);
    return true;
}

std::uint64_t AudioMusicPlayer::passes()
{
    return music_ == 0 ? 0 : gModulePasses.load(std::memory_order_relaxed) - passesBeforeLoad_;
}

std::int32_t AudioMusicPlayer::streamPosition()
{
    return stream_ == 0 ? 0 : static_cast<std::int32_t>(audio_.channelPosition(stream_));
}

} // namespace zov
