#pragma once

#include "image/Bitmap.h"
#include "tests/runtime/StandinObjects.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace zov::test {

// A fresh working folder with a data/ folder in it, entered for the life of
// the object, so that the show's relative paths land there.
class DataFolder {
public:
    DataFolder() : previous_(std::filesystem::current_path())
    {
        std::string pattern = testing::TempDir() + "/zov_show_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "cannot make a temporary folder";
        root_ = pattern;
        std::filesystem::create_directory(root_ / "data");
        std::filesystem::current_path(root_);
    }
    ~DataFolder()
    {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    // A JPEG of one colour; its pixels decode close to colour.
    void jpeg(const std::string& path, int width, int height, std::uint32_t colour)
    {
        quietly([&] {
            Bitmap picture(width, height);
            picture.fill(colour);
            EXPECT_TRUE(writeJpeg(picture, path, 95)) << path;
        });
    }

    // A PCX whose pixel (x, y) is pixelAt(x, y).
    template <typename F>
    void pcx(const std::string& path, int width, int height, F pixelAt)
    {
        quietly([&] {
            Bitmap picture(width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    picture.setPixel(x, y, pixelAt(x, y));
            EXPECT_TRUE(writePcx(picture, path)) << path;
        });
    }

    // Every picture and object the show loads at start-up.
    void showPictures()
    {
        pcx("data/mossel2.pcx", 320, 200, [](int x, int y) { return static_cast<std::uint32_t>(x + 320 * y); });
        jpeg("data/kestrel.jpg", 512, 256, 0xFFFFFF);
        jpeg("data/end.jpg", 512, 384, 0xFF0000);
        jpeg("data/bak1.jpg", 512, 384, 0x000040);
        jpeg("data/bak2.jpg", 512, 384, 0x004000);
        jpeg("data/bak3.jpg", 512, 384, 0x400000);
        jpeg("data/bak4.jpg", 512, 384, 0x404040);
        // The effects' own pictures: dim, or black where they cover the
        // corner that tests probe.
        jpeg("data/pinegrov.jpg", 271, 20, 0xFFFFFF);
        jpeg("data/particle.jpg", 64, 64, 0x101010);
        jpeg("data/scrollie1.jpg", 1024, 64, 0x808080);
        for (const char* n : {"1", "2", "3"}) {
            jpeg(std::string("data/umbra") + n + ".jpg", 178, 169, 0x808080);
            jpeg(std::string("data/umbra") + n + "a.jpg", 178, 169, 0xFFFFFF);
        }
        jpeg("data/greets.jpg", 256, 512, 0x000000);
        jpeg("data/envmap.jpg", 256, 256, 0x808080);
        jpeg("data/kubface.jpg", 256, 256, 0x808080);
        EXPECT_TRUE(kit::writeLwob(standinStar(), "data/star.lwo"));
        EXPECT_TRUE(kit::writeLwob(standinCube(), "data/testkub.lwo"));
    }

private:
    // Writing a picture destroys a bitmap, which announces itself on stdout.
    template <typename F>
    static void quietly(F work)
    {
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        work();
        std::fflush(stdout);
        testing::internal::GetCapturedStdout();
    }

    std::filesystem::path previous_;
    std::filesystem::path root_;
};

} // namespace zov::test
