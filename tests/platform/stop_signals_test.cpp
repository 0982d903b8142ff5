#include "platform/StopSignals.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace zov;

namespace {

volatile std::sig_atomic_t gCounted = 0;

extern "C" void count(int)
{
    gCounted = gCounted + 1;
}

} // namespace

TEST(StopSignals, ASignalIsNotedWhileOneLivesAndTheOldHandlersComeBackAfter)
{
    const auto oldTerm = std::signal(SIGTERM, count);
    const auto oldInt = std::signal(SIGINT, SIG_IGN);
    {
        StopSignals signals;
        EXPECT_EQ(signals.heard(), 0);
        std::raise(SIGINT); // ignored before (a job in the background): still ignored
        EXPECT_EQ(signals.heard(), 0);
        std::raise(SIGTERM);
        EXPECT_EQ(signals.heard(), SIGTERM);
        EXPECT_EQ(gCounted, 0);
    }
    std::raise(SIGTERM);
    EXPECT_EQ(gCounted, 1);
    std::signal(SIGTERM, oldTerm);
    std::signal(SIGINT, oldInt);
    EXPECT_EQ(StopSignals::exitStatus(SIGINT), 130);
}

TEST(StopSignals, ASecondSignalEndsTheProcess)
{
    EXPECT_EXIT(
        {
            std::signal(SIGINT, SIG_DFL);
            StopSignals signals;
            std::raise(SIGINT);
            std::raise(SIGINT);
        },
        testing::KilledBySignal(SIGINT), "");
}
