#include "effects/EffectLayer.h"
#include "effects/LayeredPart.h"
#include "effects/ParamProtocol.h"
#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "runtime/ActionTable.h"
#include "tests/runtime/DataFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace zov;

namespace {

// Remembers its clock, whether it was initialised, and what the frame held
// when it was asked to draw.
class ProbeLayer final : public EffectLayer {
public:
    ProbeLayer(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
    void init() override { log_.push_back("init " + name_); }
    void render(Bitmap& frame, float time, int reserved) override
    {
        times.push_back(time);
        reservedSeen = reserved;
        frameCorner = frame.pixel(0, 0);
        frame.setPixel(1, 0, 0xABCDEF);
    }
    void setParam(const char* key, const void*) override { log_.push_back(std::string("param ") + key); }

    std::vector<float> times;
    int reservedSeen = -1;
    std::uint32_t frameCorner = 0;

private:
    std::vector<std::string>& log_;
    std::string name_;
};

struct PartFixture : testing::Test {
    test::DataFolder folder;
    std::vector<std::string> log;
    ProbeLayer* first = nullptr;
    ProbeLayer* second = nullptr;
    Bitmap frame{8, 4};
    Bitmap descriptor;
    std::unique_ptr<NewRenderDriver> driver;

    void SetUp() override
    {
        descriptor.setSize(8, 4);
        driver = std::make_unique<NewRenderDriver>(descriptor);
    }
    std::unique_ptr<LayeredPart> makePart(const char* background)
    {
        std::vector<std::unique_ptr<EffectLayer>> layers;
        layers.push_back(std::make_unique<ProbeLayer>(log, "first"));
        layers.push_back(std::make_unique<ProbeLayer>(log, "second"));
        first = static_cast<ProbeLayer*>(layers[0].get());
        second = static_cast<ProbeLayer*>(layers[1].get());
        return std::make_unique<LayeredPart>(background, std::move(layers));
    }
    void initQuietly(Part& part)
    {
        testing::internal::CaptureStdout();
        part.init(frame, *driver);
        std::fflush(stdout);
        initOutput = testing::internal::GetCapturedStdout();
    }
    std::string initOutput;
};

} // namespace

TEST_F(PartFixture, InitMakesTheTableLoadsTheBackgroundAtFrameSizeThenInitsLayersInOrder)
{
    folder.jpeg("data/back.jpg", 8, 4, 0x00FF00);
    auto part = makePart("data/back.jpg");
    EXPECT_EQ(part->actionTable(), nullptr);
    initQuietly(*part);
    // Only the table speaks: the JPEG comes at its own size, with no temporary.
    EXPECT_EQ(initOutput, " actiontable constructor gets called \n");
    ASSERT_NE(part->actionTable(), nullptr);
    EXPECT_EQ(part->actionTable()->lookup(0, 0), -1);
    ASSERT_NE(part->background(), nullptr);
    EXPECT_EQ(part->background()->width(), 8);
    EXPECT_EQ(part->background()->height(), 4);
    EXPECT_EQ(log, (std::vector<std::string>{"init first", "init second"}));
}

TEST_F(PartFixture, RenderCopiesTheBackgroundThenDrawsLayersOverIt)
{
    folder.jpeg("data/back.jpg", 8, 4, 0xFFFFFF);
    auto part = makePart("data/back.jpg");
    initQuietly(*part);
    frame.fill(0);
    part->render(frame, *driver, 0.0f);
    EXPECT_GT(first->frameCorner & 0xFF, 0xF0u); // background already there
    EXPECT_EQ(frame.pixel(1, 0), 0xABCDEFu);     // layers draw over it
    EXPECT_GT(frame.pixel(7, 3) & 0xFF, 0xF0u);
    EXPECT_EQ(first->reservedSeen, 0);
}

TEST_F(PartFixture, LayersShareOneClockCountedFromThePartsStart)
{
    auto part = makePart("data/none.bmp");
    initQuietly(*part);
    part->setStartTime(10.0f);
    part->render(frame, *driver, 12.5f);
    ASSERT_EQ(first->times.size(), 1u);
    EXPECT_FLOAT_EQ(first->times[0], 2.5f);
    EXPECT_EQ(second->times[0], first->times[0]);

    std::srand(7);
    part->randomizeOffset();
    const float offset = part->timeOffset();
    EXPECT_EQ(offset, std::floor(offset));
    EXPECT_GE(offset, 0.0f);
    EXPECT_LE(offset, 127.0f);
    part->render(frame, *driver, 12.5f);
    EXPECT_FLOAT_EQ(first->times[1], 2.5f + offset);
    EXPECT_EQ(second->times[1], first->times[1]);
}

TEST_F(PartFixture, BackgroundNoLoaderAcceptsIsAbsentAndNotDrawn)
{
    auto part = makePart("data/back.png");
    initQuietly(*part);
    EXPECT_EQ(part->background(), nullptr);
    frame.fill(0x123456);
    part->render(frame, *driver, 1.0f);
    EXPECT_EQ(frame.pixel(5, 2), 0x123456u);
}

TEST_F(PartFixture, LayersAreReachableByIndexOnly)
{
    auto part = makePart(nullptr);
    EXPECT_EQ(part->layer(0), first);
    EXPECT_EQ(part->layer(1), second);
    EXPECT_EQ(part->layer(2), nullptr);
    EXPECT_EQ(part->layer(-1), nullptr);
    part->action(3); // does nothing
}

TEST(ParamProtocol, KeysMatchWholeStringsWithoutRegardToCase)
{
    EXPECT_TRUE(isParamKey("POSITION", "POSITION"));
    EXPECT_TRUE(isParamKey("position", "POSITION"));
    EXPECT_TRUE(isParamKey("Object FileName", "OBJECT FILENAME"));
    EXPECT_FALSE(isParamKey("TRANSPARENCY", "TRANSPARENT"));
    EXPECT_FALSE(isParamKey("TRANSPAREN", "TRANSPARENT"));
    EXPECT_FALSE(isParamKey("OBJECT  FILENAME", "OBJECT FILENAME"));
    EXPECT_FALSE(isParamKey(nullptr, "BONK"));
}

TEST(ParamProtocol, ValuesAreReadAsTheirKeysSay)
{
    const float speed = 40.0f;
    float floatTarget = 0.0f;
    readParamWord(&speed, floatTarget);
    EXPECT_EQ(floatTarget, 40.0f);

    const std::int32_t width = 1024;
    std::int32_t intTarget = 7;
    readParamWord(&width, intTarget);
    EXPECT_EQ(intTarget, 1024);
    readParamWord(nullptr, intTarget); // a null value changes nothing
    EXPECT_EQ(intTarget, 1024);

    const unsigned char on = 2;
    const unsigned char off = 0;
    bool flag = false;
    readParamByte(&on, flag);
    EXPECT_TRUE(flag);
    readParamByte(&off, flag);
    EXPECT_FALSE(flag);
}
