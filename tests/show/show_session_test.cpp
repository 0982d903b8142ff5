#include "show/ShowSession.h"
#include "tests/runtime/DataFolder.h"
#include "tests/show/ShowFakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using namespace zov;
using namespace zov::test;

namespace {

struct ShowFixture : testing::Test {
    DataFolder folder;
    ManualClock clock{1'000'000};
    FakeDisplay display{clock};
    FakeMusic music{display};

    void SetUp() override { folder.showPictures(); }

    // A show that does not end fails the test instead of hanging it.
    int run()
    {
        try {
            ShowSession show(display, music, clock);
            if (show.begin() == 0)
                while (show.frame().drawn)
                    display.present();
            return show.finish();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            return -1;
        }
    }
};

} // namespace

TEST_F(ShowFixture, StartUpLinesComeInOrderAndTheDescriptorHasTheLastWord)
{
    // The music runs the show through to the end picture, which a key ends.
    music.position = [](int frame) { return std::pair{frame / 4 % 8, 0}; };
    display.keyAtFrame = {55};
    std::string startUp;
    testing::internal::CaptureStdout();
    display.onPresent = [&](int frame) {
        if (frame == 1) {
            std::fflush(stdout);
            startUp = testing::internal::GetCapturedStdout();
            testing::internal::CaptureStdout();
        }
    };
    const int status = run();
    std::fflush(stdout);
    const std::string afterFirstFrame = testing::internal::GetCapturedStdout();

    EXPECT_EQ(status, 0);
    const std::string actionTable = " actiontable constructor gets called \n";
    const std::string star = "deleted object \n"
                             "trying to load data/envmap.jpg with loader number 1. \n";
    // The tunnel loads its sprite while its factory runs; each part's init
    // makes its action table, then its layers and its own pictures load.
    EXPECT_EQ(startUp, "trying to load data/particle.jpg with loader number 1. \n"
                       "trying to load data/mossel2.pcx with loader number 0. \n"
                       "deallocated internal Bitmap buffer \n"
                       "bass used for module replaying\n"
                       "trying to load stream data/cute5c.xm \n"
                       "trying to load mod data/cute5c.xm \n"
                       "initing demo \n" +
                           actionTable +
                           "trying to load data/kubface.jpg with loader number 1. \n"
                           "trying to load data/kubface.jpg with loader number 1. \n"
                           "deleted object \n" +
                           actionTable + star + actionTable + actionTable + star +
                           "trying to load data/umbra1.jpg with loader number 1. \n"
                           "trying to load data/umbra1a.jpg with loader number 1. \n"
                           "trying to load data/umbra2.jpg with loader number 1. \n"
                           "trying to load data/umbra2a.jpg with loader number 1. \n"
                           "trying to load data/umbra3.jpg with loader number 1. \n"
                           "trying to load data/umbra3a.jpg with loader number 1. \n"
                           "trying to load data/greets.jpg with loader number 1. \n"
                           "inited all parts \n"
                           "inited all \n"
                           "inited transition 0\n"
                           "inited demo \n"
                           "got to loop \n");
    EXPECT_EQ(afterFirstFrame, "deallocated internal Bitmap buffer \n");
    EXPECT_FALSE(display.invertOnPresent);
}

TEST_F(ShowFixture, PartsFollowTheMusicWithTheirBackgrounds)
{
    // Orders 0, 1 | 2, 3, 4 | 5, 6, back to 0, 1 | 2, 3 | 4: end picture.
    const int orders[] = {0, 1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4};
    music.position = [&](int frame) { return std::pair{orders[std::min(frame, 11)], 0}; };
    display.keyAtFrame = {13};
    testing::internal::CaptureStdout();
    const int status = run();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);

    // Outside the logo: bak4, bak2, bak1, bak3, then the end picture.
    auto colourOf = [](std::uint32_t p) {
        auto level = [p](int shift) { return ((p >> shift) & 0xFF) > 0x20 ? ((p >> shift) & 0xFF) > 0xC0 ? 2 : 1 : 0; };
        return std::array<int, 3>{level(16), level(8), level(0)};
    };
    using C = std::array<int, 3>;
    const std::vector<C> expected = {C{1, 1, 1}, C{1, 1, 1}, C{0, 1, 0}, C{0, 1, 0}, C{0, 1, 0},
                                     C{0, 0, 1}, C{0, 0, 1}, C{0, 0, 1}, C{0, 0, 1}, C{1, 0, 0},
                                     C{1, 0, 0}, C{2, 0, 0}, C{2, 0, 0}, C{2, 0, 0}};
    ASSERT_EQ(display.cornerProbes.size(), 13u);
    for (std::size_t f = 0; f < 13; ++f)
        EXPECT_EQ(colourOf(display.cornerProbes[f]), expected[f]) << "frame " << f;
}

TEST_F(ShowFixture, DisplayThatDoesNotOpenEndsTheProgramWithAFailure)
{
    display.openSucceeds = false;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = run();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open the display\n");
    std::fflush(stdout);
    testing::internal::GetCapturedStdout();
    EXPECT_NE(status, 0);
    EXPECT_EQ(display.frames, 0);
}

TEST_F(ShowFixture, HeadlessShowRunsByTheMusicAndEnds)
{
    display.keyboard = false;
    music.position = [](int frame) {
        const int orders[] = {0, 1, 2, 5, 0, 2, 3, 4};
        return std::pair{orders[std::min(frame, 7)], 0};
    };
    testing::internal::CaptureStdout();
    const int status = run();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(display.keyHitCalls, 0);
    EXPECT_EQ(music.shutdownAtFrame, std::vector<int>{7});
    EXPECT_EQ(display.frames, 7 + 300);
}

TEST_F(ShowFixture, ARunCutShortEndsTheMusicAndSaysNothingMore)
{
    music.position = [](int) { return std::pair{0, 0}; };
    testing::internal::CaptureStdout();
    {
        ShowSession show(display, music, clock);
        ASSERT_EQ(show.begin(), 0);
        for (int i = 0; i < 5 && show.frame().drawn; ++i)
            display.present();
        std::fflush(stdout);
        testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
    }
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(music.shutdownAtFrame, std::vector<int>{5});
}

TEST_F(ShowFixture, TheShowOpensOnTheFirstPartAskedFor)
{
    music.position = [](int) { return std::pair{0, 0}; };
    ShowOptions options;
    options.firstPart = 2;
    testing::internal::CaptureStdout();
    ShowSession show(display, music, clock, options);
    ASSERT_EQ(show.begin(), 0);
    const ShowFrame first = show.frame();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(first.drawn);
    EXPECT_EQ(first.part, 2);
}
