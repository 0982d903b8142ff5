#include "platform/Clock.h"
#include "runtime/capture/CaptureFiles.h"
#include "runtime/capture/ProgressLine.h"
#include "runtime/capture/WavWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace zov;

TEST(CaptureFiles, AFullDiskIsAFailureThatSaysSo)
{
    std::string error;
    const std::vector<std::uint8_t> bytes(1000, 7);
    EXPECT_FALSE(writeWholeFile("/dev/full", bytes, error));
    EXPECT_EQ(error, "cannot write /dev/full: No space left on device");

    // The WAV's samples wait in its buffer until the end.
    WavWriter wav(100);
    ASSERT_TRUE(wav.open("/dev/full", 44100, error));
    const std::vector<float> samples(200, 0.5f);
    EXPECT_TRUE(wav.write(samples.data(), 100, error));
    EXPECT_FALSE(wav.finish(error));
    EXPECT_EQ(error, "cannot write /dev/full: No space left on device");

    PositionLog log;
    ASSERT_TRUE(log.open("/dev/full", error));
    EXPECT_TRUE(log.add(FrameFacts{}, error));
    EXPECT_FALSE(log.finish(error));
}

TEST(ProgressLine, SaysFramePartTimePercentRateAndTimeLeft)
{
    struct Case {
        std::int64_t frames;
        int part;
        double show;
        std::int64_t total;
        double wall;
        const char* line;
    };
    const Case cases[] = {
        {600, 1, 10.0, 6000, 3.0, "frame 600  part 2  10.00 s   10%  200.0 fps  0:27 left"},
        {6000, -1, 100.0, 6000, 30.0, "frame 6000  part end  100.00 s  100%  200.0 fps  0:00 left"},
        {7000, 3, 90.0, 6000, 35.0, "frame 7000  part 4  90.00 s  100%  200.0 fps  0:00 left"},
        {50, 0, 0.83, 0, 1.0, "frame 50  part 1  0.83 s  50.0 fps"},
    };
    for (const Case& c : cases) {
        char line[160];
        ProgressLine::format(line, sizeof line, c.frames, c.part, c.show, c.total, c.wall);
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
