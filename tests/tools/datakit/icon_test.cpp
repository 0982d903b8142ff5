#include "tools/datakit/ContactSheet.h"
#include "tools/datakit/Pictures.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace zov::kit {
namespace {

TEST(KitIcon, KestrelOnADiscWithRoomAroundIt)
{
    const Icon icon = makeIcon();
    ASSERT_EQ(icon.picture.width(), 256);
    ASSERT_EQ(icon.picture.height(), 256);
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {128, 0}})
        EXPECT_EQ(icon.alpha.at(x, y), 0.0f) << x << "," << y;
    EXPECT_EQ(icon.alpha.at(128, 128), 1.0f);
    // Spread wings reach past the disc but are not cut by the picture's edges.
    for (int y = 0; y < 256; ++y)
        for (int x : {0, 1, 254, 255})
            EXPECT_EQ(icon.alpha.at(x, y), 0.0f) << x << "," << y;
    EXPECT_GT(icon.alpha.at(8, 100) + icon.alpha.at(12, 100) + icon.alpha.at(16, 100), 0.0f);
    // The body is gold over the night sky.
    const Rgb body = icon.picture.at(128, 120);
    EXPECT_GT(body.r, 0.5f);
    EXPECT_GT(body.r, body.b + 0.2f);
}

TEST(KitIcon, WrittenAsRgbaPng)
{
    const Icon icon = makeIcon();
    const std::string path = testing::TempDir() + "/zov_icon_" + std::to_string(::getpid()) + ".png";
    ASSERT_TRUE(writeCanvasPng(icon.picture, path, &icon.alpha));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, 256u);
    EXPECT_EQ(image.height, 256u);
    EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_ALPHA);
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) << image.message;
    std::remove(path.c_str());
    const std::vector<std::uint32_t> colours = icon.picture.toPixels();
    for (const auto& [x, y] : {std::pair{0, 0}, {128, 128}, {128, 120}}) {
        const png_byte* p = &rgba[(static_cast<std::size_t>(y) * 256 + x) * 4];
        const std::uint32_t c = colours[static_cast<std::size_t>(y) * 256 + x];
        EXPECT_EQ(p[0], (c >> 16) & 255);
        EXPECT_EQ(p[1], (c >> 8) & 255);
        EXPECT_EQ(p[2], c & 255);
        EXPECT_EQ(p[3], icon.alpha.at(x, y) == 0.0f ? 0 : 255) << x << "," << y;
    }
}

} // namespace
} // namespace zov::kit
