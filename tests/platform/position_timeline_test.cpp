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
    const auto ring = static_cast<std::uint32_t>(PositionTimeline::kEntries);
    const std::uint32_t n = 5 * ring;
    for (std::uint32_t i = 0; i < n; ++i)
        t.publish(static_cast<std::int64_t>(i + 1) * 10, i);
    EXPECT_EQ(t.positionAt(std::int64_t{n} * 10 - 5), n - 1);
    EXPECT_EQ(t.positionAt(std::int64_t{n - 500} * 10), n - 500);
    EXPECT_EQ(t.positionAt(std::int64_t{n - ring / 2} * 10 + 5), n - ring / 2);
    // Far older than the ring holds: the oldest it still has, never garbage.
    const std::uint32_t old = t.positionAt(5);
    EXPECT_GT(old, n - ring - 100);
    EXPECT_LT(old, n - ring + 100);
}
