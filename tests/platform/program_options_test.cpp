#include "image/Bitmap.h"
#include "platform/Clock.h"
#include "platform/FpsDisplay.h"
#include "platform/HeadlessDisplay.h"
#include "show/program/ProgramOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace zov;
namespace fs = std::filesystem;

namespace {

ParsedOptions parse(std::vector<std::string> args)
{
    return parseOptions(args, "demoplay");
}

} // namespace

TEST(ProgramOptions, ReadsEveryOptionInBothSpellings)
{
    const ParsedOptions p = parse({"--headless", "--data", "some/dir", "--scale=3", "--vsync", "--mute",
                                   "--audio-latency-ms", "120", "--fps", "--frames", "25"});
    ASSERT_EQ(p.action, ParsedOptions::Action::Run);
    EXPECT_TRUE(p.options.headless);
    EXPECT_EQ(p.options.dataDir, "some/dir");
    EXPECT_EQ(p.options.scale, 3);
    EXPECT_TRUE(p.options.vsync);
    EXPECT_TRUE(p.options.mute);
    EXPECT_EQ(p.options.audioLatencyMs, 120);
    EXPECT_TRUE(p.options.fps);
    EXPECT_EQ(p.options.frames, 25);

    const ParsedOptions c =
        parse({"--capture", "out", "--capture-fps=25", "--video", "show.mp4", "--start-order", "5", "--overwrite",
               "--video-scale", "3", "--video-crf=23"});
    ASSERT_EQ(c.action, ParsedOptions::Action::Run) << c.message;
    EXPECT_EQ(c.options.capture.directory, "out");
    EXPECT_EQ(c.options.capture.video, "show.mp4");
    EXPECT_EQ(c.options.capture.fps, FrameRate(25));
    EXPECT_EQ(c.options.capture.startOrder, 5);
    EXPECT_TRUE(c.options.capture.overwrite);
    EXPECT_EQ(c.options.capture.videoScale, 3);
    EXPECT_EQ(c.options.capture.videoCrf, 23);
    EXPECT_FALSE(c.options.capture.videoLossless);
    EXPECT_TRUE(c.options.headless);
    const ParsedOptions lossless = parse({"--video", "show.mp4", "--video-lossless", "--capture-fps", "60000/1001"});
    ASSERT_EQ(lossless.action, ParsedOptions::Action::Run) << lossless.message;
    EXPECT_TRUE(lossless.options.capture.videoLossless);
    EXPECT_EQ(lossless.options.capture.fps.text(), "60000/1001");

    const ParsedOptions s = parse({"--study", "--start-time=12.5", "--no-vsync"});
    ASSERT_EQ(s.action, ParsedOptions::Action::Run);
    EXPECT_TRUE(s.options.study);
    EXPECT_EQ(s.options.startMillis, 12500);
    EXPECT_FALSE(s.options.vsync);
    EXPECT_EQ(parse({"--start-time", "0.007"}).options.startMillis, 7);
    EXPECT_EQ(parse({"--start-time", "86400"}).options.startMillis, 86'400'000);

    const ParsedOptions defaults = parse({});
    EXPECT_EQ(defaults.action, ParsedOptions::Action::Run);
    EXPECT_TRUE(defaults.options.vsync); // paced unless told otherwise
    EXPECT_FALSE(defaults.options.study);
    EXPECT_FALSE(defaults.options.startMillis);
    EXPECT_EQ(defaults.options.scale, 1);
    EXPECT_EQ(defaults.options.frames, 0);
    EXPECT_FALSE(defaults.options.capture.active());
    EXPECT_EQ(defaults.options.capture.fps, FrameRate(60));
    EXPECT_EQ(defaults.options.capture.videoScale, 1);
    EXPECT_EQ(defaults.options.capture.videoCrf, 18);
}

TEST(ProgramOptions, HelpAndVersionExitWithSuccess)
{
    const ParsedOptions help = parse({"--scale", "2", "--help", "--bogus"});
    EXPECT_EQ(help.action, ParsedOptions::Action::Exit);
    EXPECT_EQ(help.exitStatus, 0);
    for (const char* mentioned : {"--audio-latency-ms", "--overwrite", "--video-scale", "--video-crf", "--video-lossless",
                                  "--no-vsync", "--start-time", "--study", "Space", "PgDn", "--from", "--to"})
        EXPECT_NE(help.message.find(mentioned), std::string::npos) << mentioned;
    const ParsedOptions version = parse({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.message.rfind("demoplay ", 0), 0u);
}

TEST(ProgramOptions, MistakesExitWithStatusTwoAndSayWhat)
{
    const std::vector<std::vector<std::string>> wrong{
        {"--bogus"}, {"-x"}, {"stray"}, {"--scale"}, {"--scale", "0"}, {"--scale", "9"}, {"--scale", "2x"},
        {"--audio-latency-ms", "-5"}, {"--data"}, {"--data="}, {"--headless=yes"}, {"--frames", "0"}, {"--frames"},
        {"--capture"}, {"--capture="}, {"--video", ""}, {"--capture-fps", "0"}, {"--capture-fps", "1001"},
        {"--start-order", "-1"}, {"--start-order", "256"}, {"--capture-fps", "59.94"}, {"--video-scale", "5"},
        {"--video-crf", "52"}, {"--overwrite=yes"}, {"--video-lossless=1"}, {"--start-time", "-1"},
        {"--start-time", "1.2345"}, {"--start-time", "x"}, {"--start-time", "5."}, {"--start-time", ".5"},
        {"--start-time", "86400.001"}, {"--start-time"}, {"--study", "--headless"}, {"--study", "--capture", "d"},
        {"--start-time", "1", "--video", "a.mp4"}, {"--from", "part:9"}, {"--to", "x"}, {"--repeat", "0"}};
    for (const auto& args : wrong) {
        const ParsedOptions p = parse(args);
        EXPECT_EQ(p.action, ParsedOptions::Action::Exit) << args[0];
        EXPECT_EQ(p.exitStatus, 2) << args[0];
        EXPECT_EQ(p.message.rfind("demoplay: ", 0), 0u) << p.message;
    }
    EXPECT_NE(parse({"--bogus"}).message.find("unknown option '--bogus'"), std::string::npos);
    // Two ways of saying where the show opens: one line.
    const ParsedOptions both = parse({"--start-order", "0", "--start-time", "3"});
    EXPECT_EQ(both.exitStatus, 2);
    EXPECT_EQ(both.message, "demoplay: '--start-time' and '--start-order' cannot be used together\n");
}

TEST(ProgramOptions, AnOptionWithoutTheOneItNeedsIsRefusedInOneLine)
{
    struct Case {
        std::vector<std::string> args;
        const char* line;
    };
    const Case cases[] = {
        {{"--capture-fps", "30"}, "demoplay: '--capture-fps' needs --capture or --video\n"},
        {{"--overwrite", "--video", "x.mp4"}, "demoplay: '--overwrite' needs --capture\n"},
        {{"--capture", "out", "--video-scale", "2"}, "demoplay: '--video-scale' needs --video\n"},
        {{"--video-crf", "20"}, "demoplay: '--video-crf' needs --video\n"},
        {{"--headless", "--video-lossless"}, "demoplay: '--video-lossless' needs --video\n"},
        {{"--video", "x.mp4", "--video-lossless", "--video-crf", "0"},
         "demoplay: '--video-crf' and '--video-lossless' do not go together: a lossless video has no quality to "
         "choose\n"},
    };
    for (const Case& c : cases) {
        const ParsedOptions p = parse(c.args);
        EXPECT_EQ(p.action, ParsedOptions::Action::Exit) << c.args[0];
        EXPECT_EQ(p.exitStatus, 2) << c.args[0];
        EXPECT_EQ(p.message, c.line);
    }
}

TEST(ProgramOptions, DataIsFoundInTheWorkingDirectoryThenBesideTheProgram)
{
    const fs::path base = fs::temp_directory_path() / ("zov_data_" + std::to_string(::getpid()));
    const fs::path cwd = base / "cwd", program = base / "bin", empty = base / "empty";
    fs::create_directories(cwd / "data");
    fs::create_directories(program / "data");
    fs::create_directories(empty);

    EXPECT_EQ(findDataRoot("", cwd, program), cwd);
    EXPECT_EQ(findDataRoot("", empty, program), program);
    EXPECT_EQ(findDataRoot("", empty, empty), std::nullopt);
    // --data names the folder holding data/, or data/ itself.
    EXPECT_EQ(findDataRoot(program.string(), cwd, cwd), program);
    EXPECT_EQ(findDataRoot((program / "data").string(), cwd, cwd), program);
    EXPECT_EQ(findDataRoot((program / "data").string() + "/", cwd, cwd), program);
    EXPECT_EQ(findDataRoot(empty.string(), cwd, program), std::nullopt); // no falling back
    fs::remove_all(base);
}

TEST(FpsDisplay, ReportsOnceASecondAndPassesEverythingOn)
{
    ManualClock clock(1000);
    auto inner = std::make_unique<HeadlessDisplay>();
    HeadlessDisplay* headless = inner.get();
    std::vector<std::string> lines;
    FpsDisplay display(std::move(inner), clock, [&](const std::string& l) { lines.push_back(l); });
    ASSERT_TRUE(display.open(4, 4, true, 32));
    EXPECT_FALSE(display.hasKeyboard());
    display.frame()->fill(0);
    display.invertOnPresent = true;
    for (int i = 0; i < 50; ++i) {
        display.present();
        clock.advanceTicks(40);
    }
    EXPECT_EQ(headless->presentCount(), 50);
    EXPECT_EQ(display.frame()->pixel(0, 0), 0u); // inverted an even number of times
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "26.0 fps\n"); // 26 frames in the first 1.0 s
}
