// The live loop through the clock interface: how it paces frames, and how it
// leaves the end picture alone and waits instead of drawing it again.
#include "platform/Sleeper.h"
#include "show/live/LivePlay.h"
#include "tests/runtime/DataFolder.h"
#include "tests/show/ShowFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <exception>

using namespace zov;
using namespace zov::test;

namespace {

// Sleeps by moving the hand-advanced clock there.
class ClockSleeper final : public Sleeper {
public:
    explicit ClockSleeper(ManualClock& clock) : clock_(clock) {}
    void sleepUntil(std::int64_t ticks) override
    {
        ++sleeps;
        clock_.setTicks(std::max(clock_.ticks(), ticks));
    }
    int sleeps = 0;

private:
    ManualClock& clock_;
};

struct LiveFixture : testing::Test {
    DataFolder folder;
    ManualClock clock{1'000'000};
    FakeDisplay display{clock};
    FakeMusic music{display};
    ClockSleeper sleeper{clock};

    void SetUp() override { folder.showPictures(); }

    int play(const LiveOptions& options)
    {
        testing::internal::CaptureStdout();
        int status = -1;
        try {
            status = playLive(display, music, nullptr, clock, sleeper, options);
        } catch (const std::exception& e) {
            testing::internal::GetCapturedStdout();
            ADD_FAILURE() << e.what();
            return status;
        }
        testing::internal::GetCapturedStdout();
        return status;
    }
    // Presents of the end picture (red in the stand-in data).
    long endPictures() const
    {
        return std::count_if(display.cornerProbes.begin(), display.cornerProbes.end(),
                             [](std::uint32_t p) { return (p >> 16 & 0xFF) > 0xC0 && (p >> 8 & 0xFF) < 0x40; });
    }
    std::int64_t interval(std::size_t frame) const
    {
        return display.presentTimes[frame] - display.presentTimes[frame - 1];
    }
};

// Orders 0..7 four frames each, again and again: the show runs through to
// its end picture.
std::pair<int, int> throughTheShow(int frame)
{
    return {frame / 4 % 8, 0};
}

} // namespace

TEST_F(LiveFixture, FramesWaitForTheRefreshOrElseComeSixtyASecondOnTheClock)
{
    struct Case {
        const char* what;
        bool paced;
        DisplayDriver::Pacing pacing;
        std::int64_t presentMicros; // how long a present takes
        std::size_t pacedFrom;      // presents from which they come 1/60 s apart; 0: never
    };
    const Case cases[] = {
        {"vsync refused", true, {false, 0}, 4000, 1},
        {"vsync that does not block", true, {true, 60}, 4000, 31},
        {"vsync that blocks", true, {true, 60}, 16667, 0},
        {"a 144 Hz screen that blocks", true, {true, 144}, 6944, 0},
        {"uncapped", false, {false, 0}, 4000, 0},
    };
    music.position = [](int) { return std::pair{0, 0}; };
    for (const Case& c : cases) {
        display.pacingInfo = c.pacing;
        display.presentTicks = c.presentMicros;
        display.presentTimes.clear();
        sleeper.sleeps = 0;
        LiveOptions options;
        options.paced = c.paced;
        options.frameLimit = 100;
        ASSERT_EQ(play(options), 0) << c.what;
        ASSERT_EQ(display.presentTimes.size(), 100u) << c.what;
        for (std::size_t f = 1; f < 100; ++f) {
            const bool paced = c.pacedFrom > 0 && f > c.pacedFrom;
            const std::int64_t expected = paced ? 16666 : c.presentMicros;
            EXPECT_NEAR(interval(f), expected, paced ? 1 : 0) << c.what << ", frame " << f;
        }
        EXPECT_EQ(sleeper.sleeps > 0, c.pacedFrom > 0) << c.what;
    }
}

TEST_F(LiveFixture, PresentsThatBlockAgainPaceTheFramesAgain)
{
    music.position = [](int) { return std::pair{0, 0}; };
    display.pacingInfo = {true, 60};
    display.presentTicks = 4000;
    int sleepsBy100 = 0;
    display.onPresent = [&](int frames) {
        if (frames == 60)
            display.presentTicks = 16667; // the screen's refresh again
        if (frames == 100)
            sleepsBy100 = sleeper.sleeps;
    };
    LiveOptions options;
    options.frameLimit = 150;
    ASSERT_EQ(play(options), 0);
    EXPECT_GT(sleepsBy100, 0);
    EXPECT_EQ(sleeper.sleeps, sleepsBy100);
    EXPECT_EQ(interval(149), 16667);
}

TEST_F(LiveFixture, TheEndPictureIsShownOnceAndTheWindowWaitsForAKey)
{
    music.position = throughTheShow;
    display.keyAtWait = {25};
    LiveOptions options;
    options.paced = false;
    ASSERT_EQ(play(options), 0);
    EXPECT_EQ(endPictures(), 1);
    EXPECT_EQ(display.waits, 25);
    EXPECT_EQ(sleeper.sleeps, 0);
}

TEST_F(LiveFixture, TheHeadlessEndPictureStaysThreeSecondsOfTheShowClockWithoutBeingDrawnAgain)
{
    display.keyboard = false;
    music.position = throughTheShow;
    LiveOptions options;
    options.paced = false;
    ASSERT_EQ(play(options), 0);
    EXPECT_EQ(endPictures(), 1);
    EXPECT_EQ(display.waits, 0);
    const std::int64_t shownFor = clock.ticks() - display.presentTimes.back();
    EXPECT_GE(shownFor, 3'000'000);
    EXPECT_LE(shownFor, 3'060'000);
    EXPECT_GE(sleeper.sleeps, 50);
}
