#include "platform/PositionTimeline.h"

#include <gtest/gtest.h>

using namespace zov;

TEST(PositionTimeline, EachFrameReportsTheStretchThatProducedIt)
{
    PositionTimeline t;
    t.restart(0x50, 100);
    EXPECT_EQ(t.positionAt(0), 0x50u);   // nothing published yet
    EXPECT_EQ(t.positionAt(500), 0x50u);
    t.publish(200, 1); // frames 100..199
    t.publish(300, 2); // 200..299
    t.publish(400, 3); // 300..399
    EXPECT_EQ(t.positionAt(99), 0x50u); // before the restart: the old sound
    EXPECT_EQ(t.positionAt(100), 1u);
    EXPECT_EQ(t.positionAt(199), 1u);
    EXPECT_EQ(t.positionAt(200), 2u);
    EXPECT_EQ(t.positionAt(399), 3u);
    EXPECT_EQ(t.positionAt(10'000), 3u); // not rendered yet: the newest
    t.restart(7, 400);
    EXPECT_EQ(t.positionAt(399), 7u);
    EXPECT_EQ(t.positionAt(450), 7u);
}

TEST(PositionTimeline, KeepsWorkingAfterItsRingWrapsAround)
{
    PositionTimeline t;
    t.restart(0, 0);
    for (std::uint32_t i = 0; i < 10'000; ++i)
        t.publish(static_cast<std::int64_t>(i + 1) * 10, i);
    EXPECT_EQ(t.positionAt(99'995), 9'999u);
    EXPECT_EQ(t.positionAt(95'000), 9'500u);
    EXPECT_EQ(t.positionAt(80'005), 8'000u);
    // Far older than the ring holds: the oldest it still has, never garbage.
    const std::uint32_t old = t.positionAt(5);
    EXPECT_GT(old, 7'000u);
    EXPECT_LT(old, 8'100u);
}
