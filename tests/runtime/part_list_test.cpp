#include "image/Bitmap.h"
#include "platform/Clock.h"
#include "raster/NewRenderDriver.h"
#include "runtime/CrossfadeTransition.h"
#include "runtime/DemoTimer.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace zov;

namespace {

// Records what the list asks of it, in one log shared by all parts.
class RecordingPart final : public Part {
public:
    RecordingPart(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void init(Bitmap& frame, NewRenderDriver& driver) override
    {
        log_.push_back("init " + name_);
        initFrame = &frame;
        initDriver = &driver;
        std::printf("%s init \n", name_.c_str());
    }
    void render(Bitmap& frame, NewRenderDriver&, float time) override
    {
        log_.push_back("render " + name_);
        lastTime = time;
        frame.fill(colour);
    }

    Bitmap* initFrame = nullptr;
    NewRenderDriver* initDriver = nullptr;
    float lastTime = -1.0f;
    std::uint32_t colour = 0;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class RecordingTransition final : public Transition {
public:
    explicit RecordingTransition(std::vector<std::string>& log) : log_(log) {}
    void init(Part&, Part&, NewRenderDriver&, Bitmap&) override { log_.push_back("init transition"); }
    void render(Part&, const TransitionClock&, const void*, float, NewRenderDriver&, Bitmap&) override {}

private:
    std::vector<std::string>& log_;
};

class FixedEnd final : public TransitionClock {
public:
    explicit FixedEnd(std::uint32_t end) : end_(end) {}
    std::uint32_t endTime() const override { return end_; }

private:
    std::uint32_t end_;
};

struct ListFixture : testing::Test {
    ManualClock clock{1000};
    Bitmap descriptor;
    std::unique_ptr<NewRenderDriver> driver;
    std::unique_ptr<PartList> list;
    std::vector<std::string> log;
    std::vector<std::unique_ptr<RecordingPart>> parts;

    void SetUp() override
    {
        descriptor.setSize(8, 4);
        driver = std::make_unique<NewRenderDriver>(descriptor);
        list = std::make_unique<PartList>(8, 4, 32, 1, *driver, clock);
    }
    RecordingPart& addPart()
    {
        parts.push_back(std::make_unique<RecordingPart>(std::to_string(parts.size()), log));
        list->addPart(parts.back().get());
        return *parts.back();
    }
};

} // namespace

TEST_F(ListFixture, KeepsConstructionArgumentsWithDepthBeforeFlag)
{
    PartList other(512, 384, 32, 1, *driver, clock);
    EXPECT_EQ(other.width(), 512);
    EXPECT_EQ(other.height(), 384);
    EXPECT_EQ(other.depth(), 32);
    EXPECT_EQ(other.flag(), 1);
    EXPECT_EQ(other.crossfade().duration(), 12000);
    EXPECT_EQ(other.timer(), nullptr);
}

TEST_F(ListFixture, SeventeenthPartIsIgnoredAndGetsNoOwner)
{
    for (int i = 0; i < 17; ++i)
        addPart();
    EXPECT_EQ(list->partCount(), 16);
    EXPECT_EQ(parts[15]->owner(), list.get());
    EXPECT_EQ(parts[16]->owner(), nullptr);
    EXPECT_EQ(list->part(16), nullptr);
    EXPECT_EQ(list->part(-1), nullptr);
}

TEST_F(ListFixture, InitAllInitsPartsInOrderThenPrintsThenTransitions)
{
    for (int i = 0; i < 4; ++i)
        addPart();
    Bitmap frame(8, 4);
    testing::internal::CaptureStdout();
    list->initAll(frame);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "0 init \n1 init \n2 init \n3 init \ninited all parts \ninited all \ninited transition 0\n");
    EXPECT_EQ(log, (std::vector<std::string>{"init 0", "init 1", "init 2", "init 3"}));
    for (auto& p : parts) {
        EXPECT_EQ(p->initFrame, &frame);
        EXPECT_EQ(p->initDriver, driver.get());
    }

    RecordingTransition transition(log);
    list->addTransition(&transition);
    list->addTransition(&transition);
    log.clear();
    testing::internal::CaptureStdout();
    list->initAll(frame);
    std::fflush(stdout);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("inited transition 2\n"), std::string::npos);
    EXPECT_EQ(log.back(), "init transition");
}

TEST_F(ListFixture, TransitionWithoutAPartOnEachSideIsNotInitialised)
{
    addPart();
    RecordingTransition transition(log);
    list->addTransition(&transition);
    Bitmap frame(8, 4);
    testing::internal::CaptureStdout();
    list->initAll(frame);
    std::fflush(stdout);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("inited transition 0\n"), std::string::npos);
}

TEST_F(ListFixture, RenderPartHandsOverTheShowClockTime)
{
    RecordingPart& first = addPart();
    RecordingPart& second = addPart();
    second.setStartTime(10.0f);
    Bitmap frame(8, 4);
    list->renderPart(0, frame); // before the clock: time 0, no crash
    EXPECT_EQ(first.lastTime, 0.0f);

    clock.advanceTicks(5000); // before startClock: does not count
    list->startClock();
    clock.advanceTicks(12500);
    list->renderPart(1, frame);
    EXPECT_FLOAT_EQ(second.lastTime, 12.5f);
    list->renderPart(2, frame); // outside the list: nothing
    list->renderPart(-1, frame);
    EXPECT_EQ(log, (std::vector<std::string>{"render 0", "render 1"}));
}

TEST(CrossfadeTransition, FadesFromBlackTowardsTheOutgoingPartOverTheLastDuration)
{
    std::vector<std::string> log;
    RecordingPart from("from", log);
    RecordingPart to("to", log);
    from.colour = 0xFFFFFFFF;
    Bitmap descriptor;
    descriptor.setSize(2, 2);
    NewRenderDriver driver(descriptor);
    Bitmap frame(2, 2);
    CrossfadeTransition fade(12000);

    frame.fill(0x12345678);
    fade.render(from, FixedEnd(20000), nullptr, 8000.0f, driver, frame); // before init: nothing
    EXPECT_EQ(frame.pixel(0, 0), 0x12345678u);

    testing::internal::CaptureStdout();
    fade.init(from, to, driver, frame);
    fade.render(from, FixedEnd(20000), nullptr, 8000.0f, driver, frame); // window start
    EXPECT_EQ(frame.pixel(1, 1), 0u);
    fade.render(from, FixedEnd(20000), nullptr, 14000.0f, driver, frame); // half way: 127
    EXPECT_EQ(frame.pixel(0, 0), 0x7E7E7E7Eu); // 255 * 127 / 256
    fade.render(from, FixedEnd(20000), nullptr, 20000.0f, driver, frame); // end: 254
    EXPECT_EQ(frame.pixel(0, 0), 0xFDFDFDFDu);
    fade.render(from, FixedEnd(20000), nullptr, 90000.0f, driver, frame); // past the end: clamped
    EXPECT_EQ(frame.pixel(0, 0), 0xFEFEFEFEu);

    Bitmap other(3, 3);
    other.fill(0x11);
    fade.render(from, FixedEnd(20000), nullptr, 20000.0f, driver, other); // another size: untouched
    EXPECT_EQ(other.pixel(2, 2), 0x11u);
    testing::internal::GetCapturedStdout();
}

TEST(CrossfadeTransition, FactorFollowsTheUnsignedWindowStart)
{
    CrossfadeTransition fade(12000);
    EXPECT_EQ(fade.factorAt(0.0f, 12000), 0);
    EXPECT_EQ(fade.factorAt(6000.0f, 12000), 127);
    EXPECT_EQ(fade.factorAt(-1.0e30f, 12000), 0);
    // An end before the duration puts the start near 2^32: both differences
    // are then huge and negative, and the fade sits at its end.
    EXPECT_EQ(fade.factorAt(100.0f, 500), 254);
}

TEST(PartSteps, TheBoundKeepsTheLatestStepsAndSaysThePartFellBehindUntilItStartsAgain)
{
    std::vector<std::string> log;
    RecordingPart part("p", log);
    part.setStepBound(8);
    part.start(0.0f);
    // Steps 0..6 due by 0.1 s: within the bound.
    Part::StepSpan span = part.takeDueSteps(0.1f);
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.last, 6);
    EXPECT_FALSE(part.fellBehind());
    // A second later: 60 due, the latest 8 run.
    span = part.takeDueSteps(1.1f);
    EXPECT_EQ(span.first, 59);
    EXPECT_EQ(span.last, 66);
    EXPECT_TRUE(part.fellBehind());
    // After a seek every step due runs.
    part.start(1.0f);
    part.catchUpFully();
    span = part.takeDueSteps(2.0f);
    EXPECT_EQ(span.first, 60);
    EXPECT_EQ(span.last, 120);
    EXPECT_FALSE(part.fellBehind());
}
