#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "tests/image/RecordingSink.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

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

    testing::internal::CaptureStdout();
    test::RecordingSink problems;
    auto announced = registry.loadPicture(path.c_str(), {6, 3, false, true});
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "trying to load " + path + " with loader number 0. \ndeallocated internal Bitmap buffer \n");
    ASSERT_TRUE(announced);
    EXPECT_EQ(announced->pixel(0, 0), 0x00C0FFEEu);
    EXPECT_TRUE(problems.lines.empty());
}

// A picture that cannot be had: what decodes for the show's own pictures,
// none where the caller can do without; one line says why either way.
TEST(ImageLoaderRegistry, UnloadablePicturesAreKeptOrNoneWithTheirReason)
{
    const std::string dir = testing::TempDir() + "/registry_" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const auto file = [&dir](const char* name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    };
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {dir + "/missing.pcx", "no such file"},
        {file("empty.jpg", ""), "empty file"},
        {file("text.pcx", std::string(200, 'x')), "not a PCX file"},
        {file("pcx.jpg", std::string("\x0A\x05\x01\x08", 4)), "not a JPEG file"},
        {file("notes.png", "x"), "no picture loader takes this name"},
    };
    ImageLoaderRegistry registry;
    for (const auto& c : cases) {
        const bool anyLoader = registry.loaderNumberFor(c.path.c_str()) >= 0;
        for (const char* otherwise : {static_cast<const char*>(nullptr), "it goes on"}) {
            test::RecordingSink problems;
            testing::internal::CaptureStdout();
            auto picture = registry.loadPicture(c.path.c_str(), {2, 2, false, true, otherwise});
            const std::string printed = testing::internal::GetCapturedStdout();
            const std::string line = c.path + ": " + c.reason + (otherwise ? "; it goes on" : "");
            EXPECT_EQ(problems.lines, std::vector<std::string>{line});
            EXPECT_EQ(printed.rfind("trying to load " + c.path, 0) == 0, anyLoader) << printed;
            if (otherwise || !anyLoader) {
                EXPECT_FALSE(picture) << line;
                continue;
            }
            ASSERT_TRUE(picture) << line;
            EXPECT_EQ(picture->width(), 2);
        }
    }
    test::RecordingSink problems;
    EXPECT_FALSE(registry.loadPicture(nullptr, {2, 2}));
    EXPECT_TRUE(problems.lines.empty());
}

} // namespace
} // namespace zov
