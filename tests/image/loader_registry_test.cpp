#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zov {
namespace {

TEST(ImageLoaderRegistry, ChoosesByTheLastThreeCharactersInAnyCase)
{
    ImageLoaderRegistry registry;
    EXPECT_EQ(registry.count(), 2);
    const struct {
        const char* path;
        int number;
    } cases[] = {
        {"data/mossel2.pcx", 0}, {"A.PCX", 0},     {"pcx", 0},          {"data/end.jpg", 1}, {"x.JPG", 1},
        {"x.Jpg", 1},            {"picjpg", 1},    {"pic.jpeg", -1},    {"pic.png", -1},     {"jp", -1},
        {"", -1},                {"pcx.jpg.", -1}, {"dir.jpg/pic", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(registry.loaderNumberFor(c.path), c.number) << c.path;
    EXPECT_EQ(registry.loaderNumberFor(nullptr), -1);
    EXPECT_TRUE(registry.loader(0).canLoad("a.pcx"));
    EXPECT_TRUE(registry.loader(1).canLoad("a.jpg"));
    EXPECT_THROW(registry.loader(2), std::out_of_range);
}

TEST(ImageLoaderRegistry, APathNoLoaderTakesGivesABlankBitmapOfTheSize)
{
    ImageLoaderRegistry registry;
    testing::internal::CaptureStdout();
    auto b = registry.load("data/picture.jpeg", 16, 8, 16, 8, false, true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_TRUE(b);
    ASSERT_TRUE(b->hasStorage());
    EXPECT_EQ(b->width(), 16);
    EXPECT_EQ(b->height(), 8);
    for (std::size_t i = 0; i < b->pixelCount(); ++i)
        ASSERT_EQ(b->pixels()[i], 0u);
    Bitmap target(2, 2);
    EXPECT_FALSE(registry.loadIntoAnnounced(target, "notes.txt", 2, 2, false, true));
}

TEST(ImageLoaderRegistry, LoadsThroughTheChosenLoaderAndAnnouncesIt)
{
    Bitmap picture(6, 3);
    picture.fill(0x00C0FFEE);
    const std::string path = testing::TempDir() + "/registry.PCX";
    ASSERT_TRUE(writePcx(picture, path));
    ImageLoaderRegistry registry;
    auto loaded = registry.load(path.c_str(), 6, 3, 6, 3, false, true);
    EXPECT_EQ(loaded->pixel(5, 2), 0x00C0FFEEu);

    Bitmap target(6, 3);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(registry.loadIntoAnnounced(target, path.c_str(), 6, 3, false, true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "trying to load " + path + " with loader number 0. \ndeallocated internal Bitmap buffer \n");
    EXPECT_EQ(target.pixel(0, 0), 0x00C0FFEEu);
}

} // namespace
} // namespace zov
