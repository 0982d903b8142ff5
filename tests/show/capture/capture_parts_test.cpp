#include "image/OutputFile.h"
#include "platform/Clock.h"
#include "show/capture/CaptureFiles.h"
#include "show/capture/ChildProcess.h"
#include "show/capture/ProgressLine.h"
#include "show/capture/WavWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>

using namespace zov;

namespace {

std::string scratch(const std::string& name)
{
    return testing::TempDir() + "/zov_capture_parts_" + std::to_string(::getpid()) + "_" + name;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(CaptureFiles, PositionRowsSayPartOneToFourEndAndNoMusic)
{
    const std::string path = scratch("positions.tsv");
    std::string error;
    PositionLog log;
    ASSERT_TRUE(log.open(path, error));
    FrameFacts f;
    f.index = 7;
    f.showMicros = 116'666;
    f.part = 0;
    f.musicPlaying = true;
    f.order = 1;
    f.row = 63;
    ASSERT_TRUE(log.add(f, error));
    f.index = 5000;
    f.showMicros = 83'333'333;
    f.part = -1;
    f.musicPlaying = false;
    ASSERT_TRUE(log.add(f, error));
    ASSERT_TRUE(log.finish(error));
    EXPECT_EQ(fileText(path), "frame\tseconds\tpart\torder\trow\n"
                              "7\t0.116666\t1\t1\t63\n"
                              "5000\t83.333333\tend\t-\t-\n");
    std::remove(path.c_str());

    FrameNames names("/out");
    EXPECT_STREQ(names.name(0), "/out/frame-000000.png");
    EXPECT_STREQ(names.name(1234567), "/out/frame-1234567.png");
}

TEST(CaptureFiles, WavHoldsSixteenBitStereoRoundedAndClamped)
{
    const std::string path = scratch("music.wav");
    std::string error;
    WavWriter wav(3);
    ASSERT_TRUE(wav.open(path, 44100, error));
    const float samples[6] = {0.0f, 1.0f, -1.0f, 2.0f, -3.0f, 0.5f};
    ASSERT_TRUE(wav.write(samples, 3, error));
    ASSERT_TRUE(wav.finish(error));
    const std::string bytes = fileText(path);
    std::remove(path.c_str());
    ASSERT_EQ(bytes.size(), 44u + 12u);
    const auto u32 = [&bytes](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
        return v;
    };
    EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(8, 8) + bytes.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(u32(20), 1u | 2u << 16);    // PCM, two channels
    EXPECT_EQ(u32(24), 44100u);           // frames a second
    EXPECT_EQ(u32(28), 44100u * 4);       // bytes a second
    EXPECT_EQ(u32(32), 4u | 16u << 16);   // four bytes a frame, 16 bits a sample
    EXPECT_EQ(u32(40), 12u);
    const std::vector<std::int16_t> expected = {0, 32767, -32767, 32767, -32767, 16384};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[44 + 2 * i]) |
                                            static_cast<std::uint8_t>(bytes[45 + 2 * i]) << 8),
                  expected[i])
            << "sample " << i;
}

TEST(CaptureFiles, AnEarlierCaptureIsItsFramesMusicAndPositionsAndNothingElse)
{
    for (const char* mine :
         {"frame-000000.png", "frame-1234567.png", "music.wav", "positions.tsv", "frame-000000.png.part"})
        EXPECT_TRUE(isCaptureFileName(mine)) << mine;
    for (const char* other : {"frame-1.png", "frame-00000a.png", "frame-000000.png.bak", "Music.wav", "notes.txt",
                              "frame-000000.jpg", "xframe-000000.png", "frame--00000.png", "music.wav.part",
                              "frame-000000.part"})
        EXPECT_FALSE(isCaptureFileName(other)) << other;

    const std::string dir = scratch("earlier");
    std::filesystem::create_directories(dir + "/frame-000009.png"); // a folder: not ours
    for (const char* name : {"frame-000001.png", "frame-000000.png", "music.wav", "notes.txt"})
        std::ofstream(dir + "/" + name) << "x";
    std::vector<std::string> found;
    std::string error;
    ASSERT_TRUE(findCaptureFiles(dir, found, error));
    EXPECT_EQ(found, (std::vector<std::string>{dir + "/frame-000000.png", dir + "/frame-000001.png",
                                               dir + "/music.wav"}));
    ASSERT_TRUE(findCaptureFiles(dir + "/absent", found, error));
    EXPECT_TRUE(found.empty());
    std::filesystem::remove_all(dir);
}

TEST(CaptureFiles, AnOutputIsCheckedWithoutLeavingAFileOrCuttingOne)
{
    std::string error;
    EXPECT_FALSE(checkOutputFile("/no/such/dir/x.mp4", error));
    EXPECT_EQ(error, "cannot write /no/such/dir/x.mp4: No such file or directory");
    EXPECT_FALSE(checkOutputFile(testing::TempDir(), error));
    EXPECT_EQ(error, "cannot write " + testing::TempDir() + ": Is a directory");

    const std::string fresh = scratch("fresh.mp4"), kept = scratch("kept.mp4");
    EXPECT_TRUE(checkOutputFile(fresh, error));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    std::ofstream(kept) << "old";
    EXPECT_TRUE(checkOutputFile(kept, error));
    EXPECT_EQ(fileText(kept), "old");
    std::remove(kept.c_str());
}

TEST(ChildProcess, AChildThatStopsReadingIsAFailedWriteNotTheEndOfUs)
{
    ASSERT_TRUE(findOnPath("sh").has_value());
    EXPECT_FALSE(findOnPath("zov-no-such-program").has_value());
    const std::string log = scratch("child.log");
    std::string error;
    ChildProcess child;
    ASSERT_TRUE(child.start({*findOnPath("sh"), "-c", "head -c 10 > /dev/null; echo done; exit 3"}, true, log, error))
        << error;
    const std::vector<char> block(1 << 16, 'x');
    bool accepted = true;
    for (int i = 0; i < 64 && accepted; ++i) // more than any pipe holds
        accepted = child.write(block.data(), block.size());
    EXPECT_FALSE(accepted);
    EXPECT_EQ(child.finish(), 3);
    EXPECT_EQ(fileText(log), "done\n");
    std::remove(log.c_str());

    ChildProcess missing;
    EXPECT_FALSE(missing.start({"/nonexistent/program"}, false, "/dev/null", error));
    EXPECT_EQ(error, "cannot start /nonexistent/program: No such file or directory");
}

TEST(CaptureFiles, AFullDiskIsAFailureThatSaysSoAndLeavesWholeFramesAndLinesOnly)
{
    std::string error;
    const std::vector<std::uint8_t> bytes(1000, 7);
    EXPECT_FALSE(writeWholeFile("/dev/full", bytes, error));
    EXPECT_EQ(error, "cannot write /dev/full: No space left on device");

    // Files may not grow past 600 bytes: each write here fails part way.
    const std::string picture = scratch("frame.png"), music = scratch("cut.wav"), lines = scratch("cut.tsv");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 600;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

    const bool pictureWritten = writeThenName(picture.c_str(), bytes, error);
    const std::string pictureError = error;
    WavWriter wav(200);
    const std::vector<float> samples(400, 0.5f);
    const bool wavOpened = wav.open(music, 44100, error);
    const bool firstWritten = wav.write(samples.data(), 3, error);
    const bool secondWritten = wav.write(samples.data(), 200, error);
    const bool wavFinished = wav.finish(error);
    PositionLog log;
    const bool logOpened = log.open(lines, error);
    int added = 0;
    while (added < 100 && log.add(FrameFacts{}, error))
        ++added;
    const bool logFinished = log.finish(error);

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(pictureWritten);
    EXPECT_EQ(pictureError, "cannot write " + picture + ": File too large");
    EXPECT_FALSE(std::filesystem::exists(picture));
    EXPECT_FALSE(std::filesystem::exists(picture + ".part"));
    EXPECT_TRUE(wavOpened && firstWritten && !secondWritten && wavFinished);
    const std::string wavBytes = fileText(music);
    ASSERT_EQ(wavBytes.size(), 44u + 12u);
    EXPECT_EQ(wavBytes[40], 12);
    EXPECT_TRUE(logOpened && logFinished);
    EXPECT_GT(added, 10);
    std::string expected = "frame\tseconds\tpart\torder\trow\n";
    for (int i = 0; i < added; ++i)
        expected += "0\t0.000000\tend\t-\t-\n";
    EXPECT_EQ(fileText(lines), expected);
    std::remove(music.c_str());
    std::remove(lines.c_str());
}

TEST(ProgressLine, SaysFramePartTimePercentRateAndTimeLeft)
{
    struct Case {
        std::int64_t frames;
        int part;
        double show;
        std::int64_t total;
        double wall;
        double encoder;
        const char* line;
    };
    const Case cases[] = {
        {600, 1, 10.0, 6000, 3.0, -1.0, "frame 600  part 2  10.00 s   10%  200.0 fps  0:27 left"},
        {6000, -1, 100.0, 6000, 30.0, -1.0, "frame 6000  part end  100.00 s  100%  200.0 fps  0:00 left"},
        {7000, 3, 90.0, 6000, 35.0, -1.0, "frame 7000  part 4  90.00 s  100%  200.0 fps  0:00 left"},
        {50, 0, 0.83, 0, 1.0, -1.0, "frame 50  part 1  0.83 s  50.0 fps"},
        {600, 1, 10.0, 6000, 3.0, 412.34, "frame 600  part 2  10.00 s   10%  200.0 fps  encoder 412.3 fps  0:27 left"},
    };
    for (const Case& c : cases) {
        char line[160];
        ProgressLine::format(line, sizeof line, c.frames, c.part, c.show, c.total, c.wall, c.encoder);
        EXPECT_STREQ(line, c.line);
    }
}

TEST(ProgressLine, RedrawsInPlaceOnATerminalAndPrintsLinesEverySoOftenOtherwise)
{
    for (const bool terminal : {true, false}) {
        ManualClock clock(1000);
        std::FILE* out = std::tmpfile();
        ProgressLine progress(out, terminal, clock, 100);
        for (int frame = 0; frame < 100; ++frame) {
            clock.advanceTicks(100); // 10 frames a second
            progress.update(frame, 0, frame / 60.0);
        }
        progress.finish(true);
        std::rewind(out);
        std::string text;
        for (int c; (c = std::fgetc(out)) != EOF;)
            text += static_cast<char>(c);
        std::fclose(out);
        // 10 s: a redraw on the first frame at least a quarter second after the
        // last (every 0.3 s here), or a line every five seconds; and the last state.
        const auto count = [&](const std::string& what) {
            std::size_t n = 0;
            for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count(terminal ? "\r" : "\n"), terminal ? 34u : 3u) << text;
        EXPECT_EQ(count("\033[K"), terminal ? 34u : 0u);
        EXPECT_NE(text.find("frame 100  part 1  1.65 s  100%  10.0 fps  0:00 left"), std::string::npos) << text;
    }
}
