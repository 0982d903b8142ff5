#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "runtime/PartList.h"
#include "show/BitmapFont.h"
#include "show/DemoDriver.h"
#include "tests/runtime/DataFolder.h"
#include "tests/show/ShowFakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

using namespace zov;
using namespace zov::test;

namespace {

using Position = std::pair<int, int>;

// Positions frame by frame; the last one holds on.
std::function<Position(int)> script(std::vector<Position> positions)
{
    return [positions = std::move(positions)](int frame) {
        return positions[std::min<std::size_t>(static_cast<std::size_t>(frame), positions.size() - 1)];
    };
}

std::vector<Position> ordersOnly(std::initializer_list<int> orders)
{
    std::vector<Position> out;
    for (int order : orders)
        out.push_back({order, 0});
    return out;
}

bool isLogo(std::uint32_t probe) { return (probe & 0xFF) > 0xC0; }
bool isEndPicture(std::uint32_t probe) { return ((probe >> 16) & 0xFF) > 0xC0 && (probe & 0xFF) < 0x40; }

struct DriverFixture : testing::Test {
    DataFolder folder;
    ManualClock clock{1'000'000};
    FakeDisplay display{clock};
    FakeMusic music{display};
    Bitmap descriptor;
    std::unique_ptr<NewRenderDriver> renderDriver;
    std::unique_ptr<PartList> list;
    std::array<std::unique_ptr<ScriptedPart>, 4> parts;
    std::unique_ptr<DemoDriver> driver;
    std::string output;

    void SetUp() override
    {
        folder.showPictures();
        descriptor.setSize(512, 384);
        renderDriver = std::make_unique<NewRenderDriver>(descriptor);
        list = std::make_unique<PartList>(512, 384, 32, 1, *renderDriver, clock);
        for (int i = 0; i < 4; ++i) {
            parts[i] = std::make_unique<ScriptedPart>(i, display);
            list->addPart(parts[i].get());
        }
    }

    int run()
    {
        testing::internal::CaptureStdout();
        int status = -1;
        try {
            driver = std::make_unique<DemoDriver>(display, music);
            status = driver->run(*list, 0, "data/cute5c.xm", 0, 0);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
        return status;
    }

    int bonks() const { return static_cast<int>(parts[1]->cueLayer(1).cues.size()); }
};

std::vector<int> repeat(int part, int count) { return std::vector<int>(static_cast<std::size_t>(count), part); }

std::vector<int> concat(std::initializer_list<std::vector<int>> pieces)
{
    std::vector<int> out;
    for (auto& p : pieces)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST_F(DriverFixture, LoopsEndByTheMusicAndTheThirdWaitsForOrderTwoToComeBack)
{
    // Loop 3 sees orders 5, 6, 0 and 1 first: only the module looping back
    // to order 2 ends it.
    music.position = script(ordersOnly({0, 0, 0, 1, 1, 1, 2, 3, 3, 4, 4, 5, 6, 6, 0, 0, 1, 1, 2, 3, 3, 4}));
    display.keyAtFrame = {25};
    EXPECT_EQ(run(), 0);

    EXPECT_EQ(display.presentedParts,
              concat({repeat(0, 6), repeat(1, 5), repeat(2, 7), repeat(3, 3), repeat(-1, 4)}));
    EXPECT_EQ(music.shutdownAtFrame, std::vector<int>{21});
    EXPECT_EQ(music.playedAt, Position(0, 0));
    EXPECT_EQ(music.loadedPath, "data/cute5c.xm");
    EXPECT_EQ(display.openedWith, (std::vector<int>{512, 384, 1, 32}));
    for (std::size_t f = 21; f < display.probes.size(); ++f)
        EXPECT_TRUE(isEndPicture(display.probes[f])) << f;
    // Each part's clock starts at 0 when its loop begins.
    for (auto& part : parts)
        EXPECT_EQ(part->localTimes.front(), 0.0f);
    EXPECT_FLOAT_EQ(parts[1]->startTime(), 0.06f);
}

TEST_F(DriverFixture, LogoFlashesOnTheChosenRowsOfTheFirstTwoLoops)
{
    std::vector<Position> positions;
    for (int row = 0; row < 64; ++row)
        positions.push_back({row < 32 ? 0 : 1, row});
    for (int row = 0; row < 64; ++row)
        positions.push_back({row < 32 ? 2 : 3, row});
    positions.push_back({5, 0}); // loop 3 runs on order 5 until keys end it
    music.position = script(positions);
    display.keyAtFrame = {130, 131, 132};
    EXPECT_EQ(run(), 0);

    const std::set<int> secondLoopRows = {0, 1, 2, 6, 10, 14, 17, 18, 22, 26, 30};
    for (int f = 0; f < 64; ++f)
        EXPECT_EQ(isLogo(display.probes[f]), f % 32 <= 2) << "loop 1 row " << f;
    for (int f = 64; f < 128; ++f)
        EXPECT_EQ(isLogo(display.probes[f]), secondLoopRows.count((f - 64) % 32) == 1) << "loop 2 row " << f - 64;
    for (int f = 128; f < 130; ++f)
        EXPECT_FALSE(isLogo(display.probes[f]));
}

TEST_F(DriverFixture, StarGetsBonkOncePerEighthRowOfTheSecondLoop)
{
    std::vector<Position> positions = {{0, 0}};
    for (int row : {0, 0, 0, 3, 7, 8, 8, 9, 15, 16, 17, 24, 8, 8, 32})
        positions.push_back({2, row});
    positions.push_back({5, 0});
    music.position = script(positions);
    display.keyAtFrame = {20, 21, 22};
    EXPECT_EQ(run(), 0);

    const auto& cues = parts[1]->cueLayer(1).cues;
    std::vector<int> frames;
    for (auto& [key, frame] : cues) {
        EXPECT_EQ(key, "BONK");
        frames.push_back(frame);
    }
    // Frames of rows 0, 8, 16, 24, 8 (back again) and 32.
    EXPECT_EQ(frames, (std::vector<int>{1, 6, 10, 12, 13, 15}));
    EXPECT_TRUE(parts[1]->cueLayer(1).valuesWereNull);
    EXPECT_TRUE(parts[1]->cueLayer(0).cues.empty());
    for (int p : {0, 2, 3})
        EXPECT_TRUE(parts[p]->cueLayer(1).cues.empty()) << p;
}

TEST_F(DriverFixture, OneKeyPressSkipsExactlyOneState)
{
    music.position = script({{0, 0}}); // the music never ends a loop
    display.keyAtFrame = {3, 6, 9, 12, 15};
    EXPECT_EQ(run(), 0);
    // The key in loop 4 brings the end picture, which waits for another.
    EXPECT_EQ(display.presentedParts,
              concat({repeat(0, 3), repeat(1, 3), repeat(2, 3), repeat(3, 3), repeat(-1, 3)}));
    EXPECT_EQ(music.shutdownAtFrame, std::vector<int>{12});
}

TEST_F(DriverFixture, KeyPendingAtTheStartSkipsTheFirstLoop)
{
    music.position = script({{0, 0}});
    display.keyAtFrame = {0, 2, 4, 6, 8};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(display.presentedParts, concat({repeat(1, 2), repeat(2, 2), repeat(3, 2), repeat(-1, 2)}));
}

TEST_F(DriverFixture, ActionsFireOnPositionChangesOnly)
{
    parts[0]->tableEntries = {{0, 0, 7}, {0, 4, 5}, {1, 4, 3}, {1, 5, -5}};
    parts[1]->tableEntries = {{2, 0, 9}};
    music.position = script({{0, 0}, {0, 0}, {0, 4}, {0, 4}, {1, 4}, {1, 4}, {0, 0}, {1, 5}, {2, 0}, {2, 1}, {5, 0}});
    display.keyAtFrame = {12, 13, 14};
    EXPECT_EQ(run(), 0);
    // Nothing at (0, 0) at the start; the same row in another order fires;
    // a negative number other than -1 reaches the part.
    EXPECT_EQ(parts[0]->actions, (std::vector<std::pair<int, int>>{{5, 2}, {3, 4}, {7, 6}, {-5, 7}}));
    EXPECT_EQ(parts[1]->actions, (std::vector<std::pair<int, int>>{{9, 8}}));
    EXPECT_EQ(driver->lastOrder(), 5);
    EXPECT_EQ(driver->lastRow(), 0);
}

TEST_F(DriverFixture, LastPositionCarriesAcrossLoops)
{
    // A key ends loop 1 at (0, 5); loop 2 starts at the same position, which
    // is no change for it.
    parts[1]->tableEntries = {{0, 5, 11}, {0, 6, 12}};
    music.position = script({{0, 0}, {0, 5}, {0, 5}, {0, 5}, {0, 6}});
    display.keyAtFrame = {2, 6, 7, 8, 9};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(parts[1]->actions, (std::vector<std::pair<int, int>>{{12, 4}}));
}

TEST_F(DriverFixture, MusicThatDidNotLoadLeavesTheShowToKeys)
{
    music.loads = false;
    music.position = script({{3, 8}});
    for (auto& part : parts)
        part->tableEntries = {{0, 0, 1}};
    display.keyAtFrame = {3, 6, 9, 12, 15};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(display.presentedParts,
              concat({repeat(0, 3), repeat(1, 3), repeat(2, 3), repeat(3, 3), repeat(-1, 3)}));
    for (int f = 0; f < 6; ++f)
        EXPECT_TRUE(isLogo(display.probes[f])) << f;
    for (int f = 6; f < 12; ++f)
        EXPECT_FALSE(isLogo(display.probes[f])) << f;
    EXPECT_EQ(bonks(), 1);
    for (auto& part : parts)
        EXPECT_TRUE(part->actions.empty());
}

TEST_F(DriverFixture, WithoutKeyboardTheShowFollowsTheMusicAndTheEndPictureStaysThreeSeconds)
{
    display.keyboard = false;
    display.keyAtFrame = {1, 2, 3, 4, 5};
    music.position = script(ordersOnly({0, 1, 2, 5, 2, 4}));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(display.keyHitCalls, 0);
    EXPECT_EQ(concat({repeat(0, 2), repeat(1, 1), repeat(2, 1), repeat(3, 1)}),
              std::vector<int>(display.presentedParts.begin(), display.presentedParts.begin() + 5));
    // 10 ms a frame: three seconds of the show clock.
    EXPECT_EQ(display.frames - 5, 300);
}

TEST_F(DriverFixture, WithoutKeyboardAWholePassWithoutTheAwaitedOrderEndsTheRun)
{
    // One order, going back to its start every 10 frames.
    music.position = script({{0, 0}});
    music.passesAt = [](int frame) { return static_cast<std::uint64_t>(frame / 10); };
    display.keyboard = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "data/cute5c.xm: the music played a whole pass without reaching order 2, which the show waits for; "
              "without a keyboard nothing else can end it\n");
    EXPECT_EQ(display.frames, 20); // two passes back to the start
    EXPECT_EQ(music.shutdownAtFrame, std::vector<int>{20});
}

TEST_F(DriverFixture, WithAKeyboardTheShowWaitsThroughAnyNumberOfPasses)
{
    music.position = script({{0, 0}});
    music.passesAt = [](int frame) { return static_cast<std::uint64_t>(frame / 10); };
    display.keyAtFrame = {60, 61, 62, 63, 64};
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(display.presentedParts[59], 0);
}

TEST_F(DriverFixture, WithoutKeyboardOrMusicTheShowDoesNotStart)
{
    display.keyboard = false;
    music.loads = false;
    testing::internal::CaptureStderr();
    EXPECT_NE(run(), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(display.frames, 0);
}

TEST_F(DriverFixture, DisplayThatDoesNotOpenEndsTheRunWithAFailure)
{
    display.openSucceeds = false;
    testing::internal::CaptureStderr();
    EXPECT_NE(run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open the display\n");
    EXPECT_EQ(display.frames, 0);
    EXPECT_EQ(output.find("initing demo"), std::string::npos);
}

TEST_F(DriverFixture, FontIsCutFromThePictureCellByCell)
{
    music.position = script({{0, 0}});
    display.keyAtFrame = {0, 1, 2, 3, 4};
    run();
    const BitmapFont& font = driver->font();
    EXPECT_EQ(font.cellSize(), 8);
    EXPECT_EQ(font.firstGlyph(), 31);
    // The picture's pixel (x, y) holds x + 320 y.
    auto expectGlyph = [&](int code, int left, int top) {
        const std::uint32_t* glyph = font.glyph(code);
        ASSERT_NE(glyph, nullptr);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(glyph[y * 8 + x], static_cast<std::uint32_t>(left + x + 320 * (top + y))) << code;
    };
    expectGlyph(31, 0, 0);
    expectGlyph(70, 312, 0);
    expectGlyph(71, 0, 8);
    expectGlyph(127, 128, 16);
    EXPECT_EQ(font.glyph(30)[0], 0u);
    EXPECT_EQ(font.glyph(256), nullptr);
}
