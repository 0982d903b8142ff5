#include "platform/AudioMusicPlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zov;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Records what the player asks of its audio library.
class FakeAudio final : public AudioLayer {
public:
    std::uint32_t reportedVersion = kVersion;
    bool initWorks = true;
    Handle streamHandle = 0;
    Handle musicHandle = 0;
    std::uint32_t position = 0;
    int error = 0;
    std::vector<std::string> calls;
    std::uint32_t playedPosition = 0;
    std::int32_t playedFlags = 0;
    std::uint32_t loadFlags = 0;

    std::uint32_t version() override { return reportedVersion; }
    bool init(int device, std::uint32_t rate) override
    {
        calls.push_back("init " + std::to_string(device) + " " + std::to_string(rate));
        if (!initWorks)
            error = kAudioErrorDriver;
        return initWorks;
    }
    void free() override { calls.push_back("free"); }
    bool start() override
    {
        calls.push_back("start");
        return true;
    }
    Handle streamCreateFile(const char*) override
    {
        calls.push_back("stream");
        return streamHandle;
    }
    Handle musicLoad(const char*, std::uint32_t flags) override
    {
        calls.push_back("music");
        loadFlags = flags;
        if (!musicHandle)
            error = kAudioErrorFileOpen;
        return musicHandle;
    }
    std::uint32_t channelFlags(Handle) override { return kFlagMono | 1; }
    Handle channelSetSync(Handle channel, std::uint32_t type, std::uint32_t, SyncCallback) override
    {
        calls.push_back("sync " + std::to_string(channel) + " " + std::to_string(type));
        return 99;
    }
    bool streamPlay(Handle, bool flush, std::uint32_t flags) override
    {
        calls.push_back("streamPlay " + std::to_string(flush) + " " + std::to_string(flags));
        return true;
    }
    bool musicPlay(Handle) override
    {
        calls.push_back("musicPlay");
        return true;
    }
    bool musicPlayEx(Handle, std::uint32_t pos, std::int32_t flags, bool reset) override
    {
        calls.push_back(std::string("musicPlayEx") + (reset ? " reset" : ""));
        playedPosition = pos;
        playedFlags = flags;
        return true;
    }
    std::uint32_t channelPosition(Handle) override { return position; }
    bool channelStop(Handle) override
    {
        calls.push_back("stop");
        return true;
    }
    bool setVolume(int v) override
    {
        calls.push_back("volume " + std::to_string(v));
        return true;
    }
    bool musicSetAmplify(Handle h, int a) override
    {
        calls.push_back("amplify " + std::to_string(h) + " " + std::to_string(a));
        return true;
    }
    int errorCode() override { return error; }
};

int lastExitStatus = -1;
void recordExit(int status)
{
    lastExitStatus = status;
}

} // namespace

TEST(PositionWord, OrderLowRowHigh)
{
    EXPECT_EQ(modulePosition(3, 32), 0x00200003u);
    EXPECT_EQ(positionOrder(0x00200003u), 3);
    EXPECT_EQ(positionRow(0x00200003u), 32);
    EXPECT_EQ(modulePosition(0x1FFFF, 0x10002), 0x0002FFFFu); // each half keeps 16 bits
    EXPECT_EQ(positionRow(0xFFFF0000u), 0xFFFF);
}

TEST(MusicPlayer, WrongLibraryVersionLeavesThePlayerUnloaded)
{
    FakeAudio audio;
    audio.reportedVersion = 0x60001;
    AudioMusicPlayer player(audio, recordExit);
    CaptureStdout();
    EXPECT_FALSE(player.load("data/song.xm"));
    EXPECT_EQ(GetCapturedStdout(), "bass used for module replaying\nBASS version 0.6 was not loaded\n");
    EXPECT_TRUE(audio.calls.empty()); // no device, nothing loaded
    EXPECT_FALSE(player.playAt(0, 0));
    EXPECT_EQ(player.order(), 0);
    EXPECT_EQ(player.row(), 0);
    EXPECT_EQ(player.streamPosition(), 0);
    EXPECT_FALSE(player.resumeStream(0));
    EXPECT_FALSE(player.pauseStream());
    EXPECT_FALSE(player.stopStream());
}

TEST(MusicPlayer, ModuleLoadsLoopingAndPlaysFromTheGivenPosition)
{
    FakeAudio audio;
    audio.musicHandle = 7;
    AudioMusicPlayer player(audio, recordExit);
    CaptureStdout();
    EXPECT_TRUE(player.load("data/song.xm"));
    EXPECT_EQ(GetCapturedStdout(), "bass used for module replaying\ntrying to load stream data/song.xm \n"
                                   "trying to load mod data/song.xm \n");
    EXPECT_EQ(audio.loadFlags, AudioLayer::kMusicLoop | AudioLayer::kMusicRamp);

    EXPECT_TRUE(player.playAt(2, 16));
    EXPECT_EQ(audio.playedPosition, 0x00100002u);
    EXPECT_EQ(audio.playedFlags, -1);
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"init -1 44100", "stream", "music", "sync 7 2", "start",
                                                     "musicPlayEx reset"}));

    audio.position = modulePosition(3, 32);
    EXPECT_EQ(player.order(), 3);
    EXPECT_EQ(player.row(), 32);
    EXPECT_EQ(player.streamPosition(), 0); // no stream
    EXPECT_TRUE(player.stopStream());      // reports that a module is there

    audio.calls.clear();
    EXPECT_TRUE(player.start());
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"start", "volume 100", "amplify 7 70", "musicPlay"}));
    EXPECT_TRUE(player.shutdown());
}

TEST(MusicPlayer, AStreamNeverReachesTheModulePath)
{
    FakeAudio audio;
    audio.streamHandle = 3;
    audio.musicHandle = 9;
    audio.position = modulePosition(4, 5);
    AudioMusicPlayer player(audio, recordExit);
    CaptureStdout();
    EXPECT_TRUE(player.load("a.wav"));
    EXPECT_EQ(GetCapturedStdout(), "bass used for module replaying\ntrying to load stream a.wav \n");
    EXPECT_EQ(player.order(), 0);
    EXPECT_EQ(player.row(), 0);
    EXPECT_FALSE(player.playAt(0, 0));
    EXPECT_EQ(player.streamPosition(), static_cast<std::int32_t>(modulePosition(4, 5)));
    audio.calls.clear();
    EXPECT_TRUE(player.start());
    EXPECT_TRUE(player.pauseStream());
    EXPECT_TRUE(player.resumeStream(123));
    EXPECT_FALSE(player.stopStream()); // stops the stream, reports no module
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"start", "volume 100", "amplify 0 70", "streamPlay 0 4", "stop",
                                                     "streamPlay 0 4", "stop"}));
}

TEST(MusicPlayer, FatalErrorsPrintFreeAndEndTheProcessWithAFailure)
{
    {
        FakeAudio audio;
        audio.initWorks = false;
        AudioMusicPlayer player(audio, recordExit);
        lastExitStatus = -1;
        CaptureStdout();
        EXPECT_FALSE(player.load("x.xm"));
        EXPECT_EQ(GetCapturedStdout(),
                  "bass used for module replaying\nBASS Error(3): Can't initialize device\n");
        EXPECT_EQ(audio.calls.back(), "free");
        EXPECT_EQ(lastExitStatus, 1);
    }
    {
        FakeAudio audio;
        AudioMusicPlayer player(audio, recordExit);
        lastExitStatus = -1;
        CaptureStdout();
        EXPECT_FALSE(player.load("x.xm"));
        EXPECT_EQ(GetCapturedStdout(), "bass used for module replaying\ntrying to load stream x.xm \n"
                                       "trying to load mod x.xm \nBASS Error(2): Can't play the file\n");
        EXPECT_EQ(audio.calls.back(), "free");
        EXPECT_EQ(lastExitStatus, 1);
        EXPECT_EQ(player.order(), 0);
    }
}
