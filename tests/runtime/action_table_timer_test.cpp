#include "platform/Clock.h"
#include "runtime/ActionTable.h"
#include "runtime/DemoTimer.h"

#include <gtest/gtest.h>

#include <cstdio>

using zov::ActionTable;
using zov::DemoTimer;
using zov::ManualClock;

TEST(ActionTable, FreshTableHasNoActionAnywhereAndAnnouncesItself)
{
    testing::internal::CaptureStdout();
    ActionTable table;
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " actiontable constructor gets called \n");
    for (auto [order, row] : {std::pair{0, 0}, {63, 255}, {64, 0}, {0, 256}, {-1, 5}, {5, -1}})
        EXPECT_EQ(table.lookup(order, row), -1) << order << "," << row;
}

TEST(ActionTable, StoredNumbersComeBackSignExtendedAndOutOfGridIsIgnored)
{
    testing::internal::CaptureStdout();
    ActionTable table;
    testing::internal::GetCapturedStdout();
    table.set(63, 255, 127);
    table.set(0, 0, -5);
    table.set(64, 0, 9); // would land on (0, 0) of the next order if unchecked
    table.set(0, 256, 9);
    EXPECT_EQ(table.lookup(63, 255), 127);
    EXPECT_EQ(table.lookup(0, 0), -5);
    EXPECT_EQ(table.lookup(1, 0), -1);
}

TEST(DemoTimer, CountsWholeMillisecondsFromCreation)
{
    // Microsecond ticks, read half way through milliseconds so that the
    // floating-point product never sits on a boundary.
    ManualClock clock(1'000'000);
    clock.setTicks(123'456'500);
    DemoTimer timer(clock);
    EXPECT_EQ(timer.now(), 0.0f);

    clock.advanceTicks(499); // still inside the same millisecond
    EXPECT_EQ(timer.now(), 0.0f);
    EXPECT_EQ(timer.now(), timer.now());

    clock.advanceTicks(2); // the next millisecond
    EXPECT_FLOAT_EQ(timer.now(), 0.001f);

    clock.advanceTicks(2'500'000 - 1);
    EXPECT_FLOAT_EQ(timer.now(), 2.501f);
}

TEST(DemoTimer, ResetRestartsAtZeroAndReturnsTheOffset)
{
    ManualClock clock(1000);
    DemoTimer timer(clock);
    clock.advanceTicks(4250);
    EXPECT_FLOAT_EQ(timer.reset(), 4.25f);
    EXPECT_EQ(timer.now(), 0.0f);
    clock.advanceTicks(750);
    EXPECT_FLOAT_EQ(timer.now(), 0.75f);
}

TEST(DemoTimer, MillisecondDifferencesWrapAt32Bits)
{
    ManualClock clock(1'000'000);
    clock.setTicks(((std::int64_t{1} << 32) - 5) * 1000 + 500);
    DemoTimer timer(clock);
    clock.advanceTicks(10'000);
    EXPECT_FLOAT_EQ(timer.now(), 0.010f);
}

TEST(DemoTimer, FloatPrecisionLosesSingleMillisecondsFrom16384Seconds)
{
    auto distinctReadings = [](std::int64_t fromMs) {
        ManualClock clock(1'000'000);
        DemoTimer timer(clock);
        clock.setTicks(fromMs * 1000 + 500);
        float previous = timer.now();
        int distinct = 1;
        for (int i = 0; i < 10; ++i) {
            clock.advanceTicks(1000);
            const float t = timer.now();
            distinct += t != previous;
            previous = t;
        }
        return distinct;
    };
    EXPECT_EQ(distinctReadings(8'192'000), 11);
    EXPECT_LT(distinctReadings(16'384'000), 11);
}

TEST(DemoTimer, ClockWithoutFrequencyStandsStill)
{
    ManualClock clock(0);
    DemoTimer timer(clock);
    clock.advanceTicks(5000);
    EXPECT_EQ(timer.now(), 0.0f);
}
