#pragma once

#include "image/Bitmap.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/LwoWriter.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

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

    // An octahedron of the given radius, wound outwards, its eight triangles
    // dealt out over the surfaces in turn.
    void octahedron(const std::string& path, float radius, const std::vector<kit::LwoSurface>& surfaces)
    {
        kit::LwoObject o;
        o.surfaces = surfaces;
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {radius, -radius}) {
                std::array<float, 3> p{0.0f, 0.0f, 0.0f};
                p[static_cast<std::size_t>(axis)] = sign;
                o.points.push_back(p);
            }
        for (int i = 0; i < 8; ++i) {
            // (x, y, z) faces outwards when an even number of its corners lie
            // on the negative side; otherwise it is turned round.
            const auto x = static_cast<std::uint16_t>(i & 1), y = static_cast<std::uint16_t>(2 + ((i >> 1) & 1)),
                       z = static_cast<std::uint16_t>(4 + ((i >> 2) & 1));
            const bool even = ((i & 1) + ((i >> 1) & 1) + ((i >> 2) & 1)) % 2 == 0;
            const auto surface = static_cast<std::uint16_t>(i % static_cast<int>(surfaces.size()) + 1);
            o.polygons.push_back({even ? std::vector<std::uint16_t>{x, y, z} : std::vector<std::uint16_t>{x, z, y},
                                  surface});
        }
        EXPECT_TRUE(kit::writeLwob(o, path)) << path;
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
        octahedron("data/star.lwo", 1.5f, {{"Star", 0xD8D8E0, std::nullopt}});
        // Like the kit's cube: two faces carry the emblem picture.
        kit::LwoTexture emblem;
        emblem.size = {8.0f, 8.0f, 8.0f};
        emblem.image = "data/kubface.jpg";
        octahedron("data/testkub.lwo", 5.0f,
                   {{"KubFront", 0xFFFFFF, emblem}, {"KubBack", 0xFFFFFF, emblem}, {"KubSide", 0xC02C70, std::nullopt}});
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
