#include "platform/AudioMusicPlayer.h"
#include "platform/OfflineAudioLayer.h"
#include "platform/XmLayout.h"
#include "platform/sdl/FileSources.h"
#include "tests/image/RecordingSink.h"

#include "TinyXm.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

using namespace zov;
using namespace zov::test;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

int lastExitStatus = -1;
void recordExit(int status)
{
    lastExitStatus = status;
}

// Orders 0..4 on three patterns, looping back to order 2.
TinyXm loopingSong()
{
    TinyXm song;
    song.orders = {0, 1, 2, 0, 1};
    song.restart = 2;
    return song;
}

class OfflinePlayer : public testing::Test {
protected:
    void SetUp() override { lastExitStatus = -1; }
    void TearDown() override
    {
        for (const std::string& f : files_)
            std::remove(f.c_str());
    }
    std::string file(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        files_.push_back(scratchPath(name));
        writeFile(files_.back(), bytes);
        return files_.back();
    }
    bool load(const std::string& path, std::string* printed = nullptr)
    {
        CaptureStdout();
        const bool ok = player.load(path.c_str());
        const std::string out = GetCapturedStdout();
        if (printed)
            *printed = out;
        return ok;
    }

    FileSourceOpener opener;
    OfflineAudioLayer audio{opener};
    AudioMusicPlayer player{audio, recordExit};
    std::vector<std::string> files_;
};

} // namespace

TEST_F(OfflinePlayer, WalksAModuleThroughItsOrdersAndLoopsToTheRestartPosition)
{
    const TinyXm song = loopingSong();
    ASSERT_TRUE(load(file("walk.xm", makeTinyXm(song))));
    ASSERT_TRUE(player.playAt(0, 0));
    EXPECT_EQ(player.order(), 0);
    EXPECT_EQ(player.row(), 0);

    std::vector<std::pair<int, int>> seen{{0, 0}};
    const int rowFrames = 5292; // speed 6 at 125 BPM, 44100 Hz
    const int songFrames = rowFrames * song.rows * 11;
    for (int f = 735; f <= songFrames; f += 735) {
        audio.step(735);
        const std::pair<int, int> now{player.order(), player.row()};
        if (now != seen.back())
            seen.push_back(now);
    }
    std::vector<int> orders;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (i == 0 || seen[i].first != seen[i - 1].first) {
            orders.push_back(seen[i].first);
            EXPECT_EQ(seen[i].second, 0) << "order " << seen[i].first << " starts at row 0";
        } else {
            EXPECT_EQ(seen[i].second, seen[i - 1].second + 1) << "rows go one by one";
        }
    }
    EXPECT_EQ(orders, (std::vector<int>{0, 1, 2, 3, 4, 2, 3, 4, 2, 3, 4}));
}

TEST_F(OfflinePlayer, PositionOfTheHeardSampleMatchesTheDecoderOverAFullLoop)
{
    for (const int bpm : {125, 137}) {
        TinyXm song = loopingSong();
        song.bpm = bpm;
        song.speed = bpm == 125 ? 6 : 5;
        const std::vector<std::uint8_t> bytes = makeTinyXm(song);
        OfflineAudioLayer layer(opener);
        AudioMusicPlayer music(layer, recordExit);
        CaptureStdout();
        ASSERT_TRUE(music.load(file("sync" + std::to_string(bpm) + ".xm", bytes).c_str()));
        GetCapturedStdout();
        const std::int64_t latency = 2048;
        layer.setLatencyFrames(latency);
        music.playAt(0, 0);

        // The reference decodes the same file one frame at a time: its
        // position after frame f is the row that produced frame f.
        const std::int64_t total = static_cast<std::int64_t>(44100.0 * 2.5 / bpm * song.speed) * song.rows * 9;
        std::ostringstream log;
        openmpt::module reference(bytes, log);
        reference.set_repeat_count(-1);
        std::vector<std::uint32_t> rowOfFrame;
        float scratch[2];
        for (std::int64_t f = 0; f < total + 1024; ++f) {
            reference.read_interleaved_stereo(44100, 1, scratch);
            rowOfFrame.push_back(modulePosition(reference.get_current_order(), reference.get_current_row()));
        }
        EXPECT_GE(positionOrder(rowOfFrame.back()), 2) << "the walk went through the loop";

        int mismatches = 0;
        for (std::int64_t mixed = 735; mixed <= total; mixed += 735) {
            layer.step(735);
            const std::int64_t heard = mixed - latency; // frames out of the speaker so far
            if (heard <= 0)
                continue;
            const std::uint32_t reported = modulePosition(music.order(), music.row());
            const auto last = static_cast<std::size_t>(heard - 1);
            if (bpm == 125) {
                EXPECT_EQ(reported, rowOfFrame[last]) << "at heard frame " << heard;
            } else {
                // Told at the end of the block that holds the frame.
                bool near = false;
                for (std::size_t ahead = 0; ahead < MixingAudioLayer::kBlockFrames; ++ahead)
                    near = near || rowOfFrame[last + ahead] == reported;
                mismatches += near ? 0 : 1;
            }
        }
        EXPECT_EQ(mismatches, 0) << "bpm " << bpm;
    }
}

TEST_F(OfflinePlayer, AWavFilePlaysAsAStreamAndLeavesThePositionAtZero)
{
    std::string printed;
    const std::string wav = file("tone.wav", makeWav(22050, 1, 11025));
    ASSERT_TRUE(load(wav, &printed));
    EXPECT_EQ(printed, "bass used for module replaying\ntrying to load stream " + wav + " \n");
    EXPECT_FALSE(player.playAt(0, 0)); // the show's call does not play a stream
    EXPECT_TRUE(player.start());
    std::vector<float> out(2 * 4410);
    audio.step(4410, out.data());
    double energy = 0;
    for (float v : out)
        energy += v * v;
    EXPECT_GT(energy, 1.0);
    EXPECT_EQ(player.order(), 0);
    EXPECT_EQ(player.row(), 0);
    EXPECT_EQ(player.streamPosition(), 4410); // frames at the output rate
    audio.step(22050 - 4410 + 100);           // past the end: it loops
    EXPECT_EQ(player.streamPosition(), 100);
    EXPECT_TRUE(player.pauseStream());
    audio.step(1000);
    EXPECT_EQ(player.streamPosition(), 100);
    EXPECT_TRUE(player.resumeStream(0));
    audio.step(1000);
    EXPECT_EQ(player.streamPosition(), 1100);
}

TEST_F(OfflinePlayer, AFileThatCannotBePlayedEndsTheProgramWithAFailure)
{
    std::string printed;
    EXPECT_FALSE(load("no/such/file.xm", &printed));
    EXPECT_EQ(printed, "bass used for module replaying\ntrying to load stream no/such/file.xm \n"
                       "trying to load mod no/such/file.xm \nBASS Error(2): Can't play the file\n");
    EXPECT_EQ(lastExitStatus, AudioMusicPlayer::kFatalExitStatus);

    lastExitStatus = -1;
    const std::string text = file("notes.txt", std::vector<std::uint8_t>(600, 'x'));
    EXPECT_FALSE(load(text, &printed));
    EXPECT_NE(printed.find("BASS Error(41): Can't play the file\n"), std::string::npos) << printed;
    EXPECT_EQ(lastExitStatus, AudioMusicPlayer::kFatalExitStatus);
}

TEST(OfflinePlayerDeath, DefaultExitStatusIsNotSuccess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    FileSourceOpener opener;
    OfflineAudioLayer audio(opener);
    AudioMusicPlayer player(audio);
    EXPECT_EXIT(player.load("no/such/file.xm"), testing::ExitedWithCode(1), "");
}

TEST_F(OfflinePlayer, ModuleOutputIsHeardAndStopsAtShutdown)
{
    ASSERT_TRUE(load(file("sound.xm", makeTinyXm(loopingSong()))));
    player.playAt(0, 0);
    std::vector<float> out(2 * 8820);
    audio.step(8820, out.data());
    double peak = 0;
    for (float v : out)
        peak = std::max(peak, static_cast<double>(std::fabs(v)));
    EXPECT_GT(peak, 0.05);
    EXPECT_TRUE(player.shutdown());
    EXPECT_FALSE(audio.initialised());
}

TEST_F(OfflinePlayer, ShutdownFadesTheSoundOutOverFiveMilliseconds)
{
    // A 440 Hz tone at a quarter of full level, whose own steps stay below
    // 0.02, stopped near its peak.
    ASSERT_TRUE(load(file("tone.wav", makeWav(44100, 2, 44100))));
    ASSERT_TRUE(player.start());
    std::vector<float> out(2 * 2000);
    do
        audio.step(1, out.data());
    while (std::fabs(out[0]) < 0.2f);
    EXPECT_TRUE(player.shutdown());
    EXPECT_FALSE(audio.initialised());
    audio.step(1999, out.data() + 2);
    float largestStep = 0.0f;
    std::size_t lastSound = 0;
    for (std::size_t i = 2; i < out.size(); ++i) {
        largestStep = std::max(largestStep, std::fabs(out[i] - out[i - 2]));
        if (out[i] != 0.0f)
            lastSound = i / 2;
    }
    EXPECT_LT(largestStep, 0.02f);
    EXPECT_GT(lastSound, 200u); // 220 frames
    EXPECT_LE(lastSound, 220u);
}

TEST_F(OfflinePlayer, PlayedFromATimeItTellsWhereItLandedTillHeardAndPausesAndSlowsDown)
{
    ASSERT_TRUE(load(file("from.xm", makeTinyXm(loopingSong()))));
    const std::int64_t latency = 2048;
    const std::int64_t rowFrames = 5292;
    audio.setLatencyFrames(latency);
    player.playAt(0, 0);
    audio.step(44100);
    // Ten blocks into row 2: the sound still heard is older, but what it
    // played before the jump is not the music's any more.
    ASSERT_TRUE(player.playFrom(2 * rowFrames + 1470, 44100));
    EXPECT_EQ(std::pair(player.order(), player.row()), std::pair(0, 2));
    audio.step(static_cast<std::size_t>(latency));
    EXPECT_EQ(player.row(), 2);
    audio.step(static_cast<std::size_t>(rowFrames));
    EXPECT_EQ(player.row(), 3);

    ASSERT_TRUE(player.pauseMusic());
    std::vector<float> out(2 * 4410);
    audio.step(4410, out.data());
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return v == 0.0f; }));

    ASSERT_TRUE(player.playFrom(0, 1));
    ASSERT_TRUE(player.setTempo(0.5));
    audio.step(static_cast<std::size_t>(latency + 3 * rowFrames));
    EXPECT_EQ(player.row(), 1); // three rows' time at half tempo
}

TEST_F(OfflinePlayer, ModulesThatCannotBePlayedSayWhyWithoutThrowing)
{
    const std::vector<std::uint8_t> song = makeTinyXm(loopingSong());
    const std::string dir = scratchPath("folder.xm");
    std::filesystem::create_directory(dir);
    struct Case {
        std::string path;
        std::string reason; // the start of the reported reason
    };
    const Case cases[] = {
        {dir, "is a directory"},
        {file("empty.xm", {}), "empty file"},
        {file("text.xm", std::vector<std::uint8_t>(600, 'x')), "not a module libopenmpt can play"},
        {scratchPath("missing.xm"), "no such file"},
    };
    for (const Case& c : cases) {
        test::RecordingSink sink;
        EXPECT_FALSE(load(c.path)) << c.path;
        EXPECT_EQ(lastExitStatus, AudioMusicPlayer::kFatalExitStatus);
        ASSERT_EQ(sink.lines.size(), 1u) << c.path;
        EXPECT_EQ(sink.lines[0].rfind(c.path + ": " + c.reason, 0), 0u) << sink.lines[0];
    }
    std::filesystem::remove(dir);
}

TEST_F(OfflinePlayer, ACutModulePlaysAndSaysItIsShort)
{
    std::vector<std::uint8_t> song = makeTinyXm(loopingSong());
    const std::size_t whole = song.size();
    EXPECT_EQ(xmDescribedSize(song.data(), song.size()), whole);
    // Cut in the sample data the whole size is known; earlier, a part of it.
    song.resize(whole - 10);
    EXPECT_EQ(xmDescribedSize(song.data(), song.size()), whole);
    song.resize(whole - 300);
    const std::string path = file("cut.xm", song);
    test::RecordingSink sink;
    EXPECT_TRUE(load(path));
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0].rfind(path + ": cut short: " + std::to_string(whole - 300) +
                                      " bytes where its headers describe at least ",
                                  0),
              0u)
        << sink.lines[0];
}

TEST(XmLayout, WholeModulesAreNotShort)
{
    std::vector<std::filesystem::path> modules{std::filesystem::path(ZOV_DATA_DIR) / "cute5c.xm"};
    const std::filesystem::path corpus = std::filesystem::path(ZOV_CORPUS_DIR) / "xm";
    if (std::filesystem::is_directory(corpus))
        for (const auto& entry : std::filesystem::directory_iterator(corpus))
            if (entry.path().filename() != "load_xm_orders_mismatch.xm") // damaged on purpose
                modules.push_back(entry.path());
    for (const auto& path : modules) {
        if (!std::filesystem::is_regular_file(path))
            continue;
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_LE(xmDescribedSize(bytes.data(), bytes.size()), bytes.size()) << path;
    }
}

TEST_F(OfflinePlayer, AOneOrderModuleCountsItsPasses)
{
    TinyXm song = loopingSong();
    song.patterns = 1;
    song.orders = {0};
    ASSERT_TRUE(load(file("one.xm", makeTinyXm(song))));
    player.playAt(0, 0);
    EXPECT_EQ(player.passes(), 0u);
    // A 16-row pattern at speed 6, 125 BPM lasts 1.92 s: five seconds go
    // back to its start twice, and the order never changes.
    for (int i = 0; i < 300; ++i) {
        audio.step(735);
        ASSERT_EQ(player.order(), 0);
    }
    EXPECT_EQ(player.passes(), 2u);
}

TEST_F(OfflinePlayer, CorpusModulesLoadOrAreRefusedOneByOne)
{
    const std::filesystem::path dir = std::filesystem::path(ZOV_CORPUS_DIR) / "xm";
    if (!std::filesystem::is_directory(dir))
        GTEST_SKIP() << "no corpus at " << dir;
    // libopenmpt refuses a module whose order count disagrees with its table.
    const std::set<std::string> refused = {"load_xm_orders_mismatch.xm"};
    int modules = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".xm")
            continue;
        ++modules;
        const std::string name = entry.path().filename().string();
        OfflineAudioLayer layer(opener);
        AudioMusicPlayer music(layer, recordExit);
        test::RecordingSink sink;
        CaptureStdout();
        const bool loaded = music.load(entry.path().c_str());
        GetCapturedStdout();
        ASSERT_EQ(loaded, refused.count(name) == 0) << name;
        if (!loaded) {
            EXPECT_FALSE(sink.lines.empty()) << name << " refused without a reason";
            continue;
        }
        // Through its orders: back to the restart position (or the end)
        // within ten minutes of music, having left order 0.
        music.playAt(0, 0);
        bool leftTheStart = false;
        for (int second = 0; second < 600 && music.passes() == 0; ++second) {
            layer.step(44100);
            leftTheStart = leftTheStart || music.order() != 0 || music.row() != 0;
        }
        EXPECT_GT(music.passes(), 0u) << name;
        EXPECT_TRUE(leftTheStart) << name;
    }
    EXPECT_EQ(modules, 8);
}

TEST_F(OfflinePlayer, TheShowsMusicComesBackToOrderTwoAfterItsEnd)
{
    const std::filesystem::path song = std::filesystem::path(ZOV_DATA_DIR) / "cute5c.xm";
    if (!std::filesystem::exists(song))
        GTEST_SKIP() << "the show's music is not built at " << song;
    ASSERT_TRUE(load(song.string()));
    player.playAt(0, 0);
    // The third part of the show runs until the music is at order 2 again.
    std::vector<int> orders{0};
    for (int frame = 0; frame < 44100 * 200 && orders.size() < 40; frame += 735) {
        audio.step(735);
        if (player.order() != orders.back())
            orders.push_back(player.order());
    }
    const auto highest = std::max_element(orders.begin(), orders.end());
    ASSERT_GE(*highest, 5) << "the second part ends at order 5";
    const auto back = std::find(highest, orders.end(), 2);
    EXPECT_NE(back, orders.end()) << "never back at order 2 after the end";
}
