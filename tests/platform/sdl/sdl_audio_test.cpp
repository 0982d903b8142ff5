#include "platform/AudioMusicPlayer.h"
#include "platform/Clock.h"
#include "platform/sdl/FileSources.h"
#include "platform/sdl/SdlAudioLayer.h"

#include "tests/platform/TinyXm.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

using namespace zov;
using namespace zov::test;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

// Plays the test song on a real-time output and waits (up to a generous
// limit: the machine is shared) until the heard position reaches order 1.
// Returns the stderr lines the output printed; silent tells whether it
// played without sound at the end.
std::string playUntilSecondOrder(SdlAudioOptions options, bool* silent, bool* reached)
{
    const std::string path = scratchPath("realtime.xm");
    TinyXm song;
    song.rows = 4; // 0.48 s an order
    writeFile(path, makeTinyXm(song));
    MonotonicClock clock;
    FileSourceOpener opener;
    SdlAudioLayer audio(opener, clock, options);
    AudioMusicPlayer player(audio);
    CaptureStdout();
    CaptureStderr();
    const bool loaded = player.load(path.c_str());
    GetCapturedStdout();
    std::remove(path.c_str());
    EXPECT_TRUE(loaded);
    player.playAt(0, 0);
    int lastRow = 0;
    bool backwards = false;
    *reached = false;
    for (int i = 0; i < 1000 && !*reached; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int order = player.order();
        const int row = player.row();
        backwards = backwards || (order == 0 && row < lastRow);
        lastRow = row;
        *reached = order >= 1;
    }
    EXPECT_FALSE(backwards);
    *silent = audio.silent();
    player.shutdown();
    return GetCapturedStderr();
}

} // namespace

TEST(SdlAudio, ADeviceMovesThePositionOnInRealTime)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool silent = true, reached = false;
    const std::string errors = playUntilSecondOrder({}, &silent, &reached);
    EXPECT_FALSE(silent);
    EXPECT_TRUE(reached);
    EXPECT_EQ(errors, "");
}

TEST(SdlAudio, WithoutADeviceTheMusicGoesOnSilentlyByTheClock)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    bool silent = false, reached = false;
    const std::string errors = playUntilSecondOrder({}, &silent, &reached);
    EXPECT_TRUE(silent);
    EXPECT_TRUE(reached);
    EXPECT_EQ(errors.rfind("no audio device (", 0), 0u) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line";

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudioOptions muted;
    muted.mute = true;
    EXPECT_EQ(playUntilSecondOrder(muted, &silent, &reached), "");
    EXPECT_TRUE(silent);
    EXPECT_TRUE(reached);
}

TEST(SdlAudio, WhenTheDeviceGoesTheMusicGoesOnSilentlyByTheClock)
{
    // SDL's disk output is removed as a device when a write fails: here when
    // its file reaches the process's size limit, a fifth of a second in.
    const std::string raw = scratchPath("removed.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 8 * 8192; // eight buffers of 1024 stereo float frames
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool silent = false, reached = false;
    const std::string errors = playUntilSecondOrder({}, &silent, &reached);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    std::remove(raw.c_str());
    EXPECT_TRUE(silent);
    EXPECT_TRUE(reached);
    EXPECT_EQ(errors, "audio device removed: playing without sound\n");
}

TEST(SdlAudio, ShutdownFadesTheDevicesOutputToSilence)
{
    // SDL's disk driver writes what the device plays to a file, in real time.
    const std::string raw = scratchPath("played.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    const std::string tone = scratchPath("tone.wav");
    writeFile(tone, makeWav(44100, 2, 44100)); // 440 Hz at 0.24: steps below 0.02
    {
        MonotonicClock clock;
        FileSourceOpener opener;
        SdlAudioLayer audio(opener, clock);
        AudioMusicPlayer player(audio);
        CaptureStdout();
        const bool loaded = player.load(tone.c_str());
        GetCapturedStdout();
        ASSERT_TRUE(loaded);
        ASSERT_FALSE(audio.silent());
        player.start();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        player.shutdown();
    }
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<float> played(bytes.size() / sizeof(float));
    std::memcpy(played.data(), bytes.data(), played.size() * sizeof(float));
    std::remove(raw.c_str());
    std::remove(tone.c_str());
    ASSERT_GT(played.size(), 2u * 4410u);
    // The file's end is silence too.
    played.insert(played.end(), {0.0f, 0.0f});
    float largestStep = 0.0f;
    std::size_t lastSound = 0;
    for (std::size_t i = 2; i < played.size(); ++i) {
        largestStep = std::max(largestStep, std::fabs(played[i] - played[i - 2]));
        if (played[i] != 0.0f)
            lastSound = i;
    }
    EXPECT_LT(largestStep, 0.02f);
    // Its last 100 frames, a full turn of the tone, are well below its 0.24.
    ASSERT_GT(lastSound, 200u);
    float endPeak = 0.0f;
    for (std::size_t i = lastSound - 200; i <= lastSound; ++i)
        endPeak = std::max(endPeak, std::fabs(played[i]));
    EXPECT_LT(endPeak, 0.15f);
}
