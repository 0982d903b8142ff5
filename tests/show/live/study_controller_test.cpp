// Study mode's keys through the clock interface: where each takes the show
// clock and the show, held or running, at any speed; looping; the music
// steered along.
#include "platform/Clock.h"
#include "platform/SteerableClock.h"
#include "show/live/StudyController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zov;

namespace {

constexpr std::uint32_t kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kPageUp = 0x21,
                        kPageDown = 0x22, kComma = 0xBC, kPeriod = 0xBE, kOpenBracket = 0xDB, kCloseBracket = 0xDD,
                        kTab = 0x09, kEscape = 0x1B;

// Records what the controller asks of the show, in 60ths of a second.
class RecordingShow final : public StudyShow {
public:
    bool seek(ShowTime t) override
    {
        seeks.push_back(t.numerator * 60 / t.denominator);
        return true;
    }
    bool fellBehind() override { return behind; }
    bool steerMusic(bool paused, int slowdown, ShowTime) override
    {
        steers.push_back((paused ? "held 1/" : "playing 1/") + std::to_string(slowdown));
        return slowdown == 1 || tempo;
    }

    std::vector<std::int64_t> seeks;
    std::vector<std::string> steers;
    bool behind = false;
    bool tempo = true;
};

// Parts at 0, 10, 20.5 and 30 s, the end picture at 40 s; orders every 4 s.
StudyMap map()
{
    StudyMap m;
    m.parts = {{{0, 1}, 0}, {{10, 1}, 1}, {{41, 2}, 2}, {{30, 1}, 3}, {{40, 1}, -1}};
    for (int order = 0; order < 10; ++order)
        m.orders.push_back({{4 * order, 1}, order});
    return m;
}

struct StudyFixture : testing::Test {
    ManualClock base{1'000'000};
    SteerableClock clock{base};
    RecordingShow show;
    StudyController study{clock, show, map()};

    // The show running from `seconds` on.
    void runFrom(double seconds)
    {
        clock.set(static_cast<std::int64_t>(seconds * 1e6));
        clock.resume();
    }
    void press(std::initializer_list<std::uint32_t> keys)
    {
        for (const std::uint32_t key : keys)
            study.press(key);
    }
};

} // namespace

TEST_F(StudyFixture, KeysTakeTheClockToFramesOfASixtyFrameCapture)
{
    struct Case {
        const char* what;
        double from;
        bool held; // paused first
        std::vector<std::uint32_t> keys;
        std::int64_t frame; // where the clock stands, in 60ths
        std::vector<std::int64_t> seeks;
    };
    // Held at 12.345 s: frame 741 (12.35 s).
    const std::vector<Case> cases = {
        {"pause lands on the next frame", 12.345, false, {kSpace}, 741, {}},
        {"a step forward draws on, no seek", 12.345, true, {kPeriod, kPeriod}, 743, {}},
        {"a step back seeks", 12.345, true, {kComma}, 740, {740}},
        {"a step while running pauses on the next frame", 12.345, false, {kPeriod}, 741, {}},
        {"a step back while running pauses, then steps", 12.345, false, {kComma}, 740, {740}},
        {"a second either way", 12.345, true, {kRight, kRight, kLeft}, 801, {801, 861, 801}},
        {"not before the start", 0.5, true, {kLeft}, 0, {0}},
        {"next order", 12.345, true, {kUp}, 960, {960}},
        {"previous order: the current one's start, then the one before", 12.345, true, {kDown, kDown}, 480,
         {720, 480}},
        {"next part, twice", 12.345, true, {kPageDown, kCloseBracket}, 1800, {1230, 1800}},
        {"previous part from inside one: its start", 25.0, true, {kPageUp}, 1230, {1230}},
        {"previous part from its start: the one before", 20.5, true, {kOpenBracket}, 600, {600}},
        {"running, just past a part's start: the part before", 20.7, false, {kPageUp}, 600, {600}},
        {"running, well into a part: its start", 22.0, false, {kPageUp}, 1230, {1230}},
        {"past the last mark: nowhere", 45.0, true, {kPageDown}, 2700, {}},
    };
    for (const Case& c : cases) {
        StudyController fresh(clock, show, map());
        show.seeks.clear();
        clock.setPace(1, 1);
        runFrom(c.from);
        if (c.held)
            fresh.press(kSpace);
        for (const std::uint32_t key : c.keys)
            fresh.press(key);
        EXPECT_EQ(fresh.frameNow(), c.frame) << c.what;
        EXPECT_EQ(show.seeks, c.seeks) << c.what;
        EXPECT_TRUE(fresh.paused() || !c.held) << c.what;
        EXPECT_EQ(clock.ticks(), c.frame * 1'000'000 / 60) << c.what;
    }
}

TEST_F(StudyFixture, PausingHoldsTheClockAndTheMusicAndAsksForOneFrame)
{
    runFrom(12.345);
    EXPECT_TRUE(study.wantsFrame());
    press({kSpace});
    EXPECT_TRUE(study.paused());
    EXPECT_TRUE(study.wantsFrame());
    EXPECT_FALSE(study.wantsFrame());
    base.advanceSeconds(5.0);
    EXPECT_EQ(study.frameNow(), 741);
    press({kSpace});
    base.advanceSeconds(1.0);
    EXPECT_EQ(study.frameNow(), 801);
    EXPECT_EQ(show.steers, (std::vector<std::string>{"held 1/1", "playing 1/1"}));
    // A show that fell behind is brought to the held frame by a seek.
    show.behind = true;
    press({kSpace});
    EXPECT_EQ(show.seeks, std::vector<std::int64_t>{801});
}

TEST_F(StudyFixture, SlowSpeedsSlowTheClockAndTheMusicOrMuteIt)
{
    runFrom(10.0);
    press({'2'});
    base.advanceSeconds(1.0);
    EXPECT_EQ(study.frameNow(), 630);
    EXPECT_TRUE(study.musicFollows());
    show.tempo = false;
    press({'4'});
    base.advanceSeconds(1.0);
    EXPECT_EQ(study.frameNow(), 645);
    EXPECT_FALSE(study.musicFollows());
    press({'1'});
    base.advanceSeconds(1.0);
    EXPECT_EQ(study.frameNow(), 705);
    EXPECT_EQ(show.steers, (std::vector<std::string>{"playing 1/2", "playing 1/4", "playing 1/1"}));
}

TEST_F(StudyFixture, ALoopedPartGoesBackToItsStartWhereTheNextOneWouldBegin)
{
    runFrom(19.0);
    press({'L'});
    EXPECT_TRUE(study.looping());
    base.advanceSeconds(1.4);
    study.beforeFrame();
    EXPECT_TRUE(show.seeks.empty());
    base.advanceSeconds(0.2); // 20.6 s: part 3 would show
    study.beforeFrame();
    EXPECT_EQ(show.seeks, std::vector<std::int64_t>{600});
    EXPECT_EQ(study.frameNow(), 600);
    // A jump to another part loops that one; the end picture never loops.
    press({kPageDown, kPageDown});
    EXPECT_TRUE(study.looping());
    press({kPageDown});
    EXPECT_FALSE(study.looping());
}

TEST_F(StudyFixture, TheOverlayAndQuitting)
{
    EXPECT_FALSE(study.overlay());
    press({'O'});
    EXPECT_TRUE(study.overlay());
    EXPECT_TRUE(study.takeOverlayChange());
    EXPECT_FALSE(study.takeOverlayChange());
    press({kTab});
    EXPECT_FALSE(study.overlay());
    press({'X', 0x70});
    EXPECT_FALSE(study.quit());
    press({kEscape});
    EXPECT_TRUE(study.quit());
    StudyController other(clock, show, map());
    other.press('Q');
    EXPECT_TRUE(other.quit());
}

TEST(SteerableClock, HeldSetAndPacedAgainstItsBase)
{
    ManualClock base(1000);
    base.setTicks(5000);
    SteerableClock clock(base);
    EXPECT_TRUE(clock.paused());
    EXPECT_EQ(clock.ticks(), 0);
    base.advanceTicks(300);
    EXPECT_EQ(clock.ticks(), 0);
    clock.set(2000);
    clock.resume();
    base.advanceTicks(300);
    EXPECT_EQ(clock.ticks(), 2300);
    clock.setPace(1, 4);
    base.advanceTicks(400);
    EXPECT_EQ(clock.ticks(), 2400);
    clock.pause();
    base.advanceTicks(400);
    EXPECT_EQ(clock.ticks(), 2400);
    clock.set(100);
    clock.resume();
    base.advanceTicks(40);
    EXPECT_EQ(clock.ticks(), 110);
    EXPECT_EQ(clock.ticksPerSecond(), 1000);
}
