#include "image/Bitmap.h"
#include "image/JpegDecoder.h"
#include "image/JpegLoader.h"
#include "image/PcxDecoder.h"
#include "tests/tools/datakit/LwobWalk.h"
#include "tools/datakit/Font8x8.h"
#include "tools/datakit/Kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include <unistd.h>

namespace zov {
namespace {

using test::readFileBytes;

struct Named {
    const char* file;
    int width;
    int height;
};

// Every file the show reads from data/ besides its music, at the size the
// show loads it at; written out here rather than taken from the kit.
const Named kShowFiles[] = {
    {"mossel2.pcx", 320, 200}, {"kestrel.jpg", 512, 256}, {"end.jpg", 512, 384},     {"bak1.jpg", 512, 384},
    {"bak2.jpg", 512, 384},    {"bak3.jpg", 512, 384},    {"bak4.jpg", 512, 384},    {"pinegrov.jpg", 271, 20},
    {"particle.jpg", 64, 64},  {"envmap.jpg", 256, 256},  {"scrollie1.jpg", 1024, 64}, {"umbra1.jpg", 178, 169},
    {"umbra2.jpg", 178, 169},  {"umbra3.jpg", 178, 169},  {"umbra1a.jpg", 178, 169}, {"umbra2a.jpg", 178, 169},
    {"umbra3a.jpg", 178, 169}, {"greets.jpg", 256, 512},  {"star.lwo", 0, 0},        {"testkub.lwo", 0, 0},
};

// The kit the build wrote beside the programs (the test target depends on it).
class KitFiles : public testing::Test {
protected:
    static std::string path(const std::string& file) { return std::string(ZOV_DATA_DIR) + "/" + file; }

    static std::unique_ptr<Bitmap> loadJpeg(const std::string& file, int w, int h)
    {
        auto b = std::make_unique<Bitmap>(w, h);
        JpegLoader().loadInto(*b, path(file).c_str(), w, h, false, true);
        return b;
    }
};

int channel(std::uint32_t p, int k) { return static_cast<int>((p >> (8 * k)) & 255); }
int brightest(std::uint32_t p) { return std::max({channel(p, 0), channel(p, 1), channel(p, 2)}); }

TEST_F(KitFiles, EveryFileTheShowReadsIsWrittenAtItsSize)
{
    std::set<std::string> listed;
    for (const kit::KitFileSpec& f : kit::kitFiles())
        listed.insert(f.file);
    for (const Named& n : kShowFiles) {
        EXPECT_EQ(listed.count(n.file), 1u) << n.file << " is not in the kit's list";
        const std::string p = path(n.file);
        ASSERT_TRUE(std::filesystem::exists(p)) << n.file;
        const std::string ext = p.substr(p.size() - 3);
        if (ext == "jpg") {
            std::FILE* f = std::fopen(p.c_str(), "rb");
            ASSERT_NE(f, nullptr);
            const auto picture = decodeJpeg(f, 1, 1);
            ASSERT_TRUE(picture) << n.file;
            EXPECT_EQ(picture->fileWidth, n.width) << n.file;
            EXPECT_EQ(picture->fileHeight, n.height) << n.file;
        } else if (ext == "pcx") {
            const std::vector<std::uint8_t> b = readFileBytes(p);
            ASSERT_GT(b.size(), 128u);
            EXPECT_EQ((b[8] | b[9] << 8) + 1, n.width);
            EXPECT_EQ((b[10] | b[11] << 8) + 1, n.height);
            Bitmap target(n.width, n.height);
            EXPECT_EQ(decodePcxFile(p.c_str(), target, n.width, n.height, false), PcxDecodeResult::Complete);
        } else {
            const test::WalkedLwob w = test::walkLwob(readFileBytes(p));
            EXPECT_EQ(w.error, "") << n.file;
            EXPECT_FALSE(w.polygons.empty()) << n.file;
            for (const test::WalkedPolygon& poly : w.polygons)
                EXPECT_EQ(poly.vertices.size(), 3u) << n.file;
        }
    }
}

TEST_F(KitFiles, TwoRunsWriteTheSameBytes)
{
    const std::string other = testing::TempDir() + "/datakit_run_" + std::to_string(::getpid());
    std::vector<kit::WrittenFile> written;
    ASSERT_TRUE(kit::writeKit(other, &written));
    EXPECT_EQ(written.size(), kit::kitFiles().size());
    for (const kit::KitFileSpec& f : kit::kitFiles()) {
        const std::vector<std::uint8_t> a = readFileBytes(path(f.file));
        EXPECT_FALSE(a.empty()) << f.file;
        EXPECT_TRUE(a == readFileBytes(other + "/" + f.file)) << f.file << " differs between runs";
    }
    std::filesystem::remove_all(other);
}

// The driver cuts glyph g (code 31 + g) from the 8x8 cell at
// ((g mod 40) * 8, (g div 40) * 8); everything else of the sheet is unused.
TEST_F(KitFiles, FontPictureHoldsEveryGlyphInItsCell)
{
    Bitmap sheet(320, 200);
    ASSERT_EQ(decodePcxFile(path("mossel2.pcx").c_str(), sheet, 320, 200, false), PcxDecodeResult::Complete);
    std::vector<bool> used(320 * 200, false);
    for (int g = 0; g < 97; ++g) {
        const int code = 31 + g;
        int ink = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int px = (g % 40) * 8 + x, py = (g / 40) * 8 + y;
                used[static_cast<std::size_t>(py * 320 + px)] = true;
                const bool on = sheet.pixel(px, py) != 0;
                EXPECT_EQ(on, kit::glyphPixel(code, x, y)) << "code " << code << " at " << x << "," << y;
                ink += on;
            }
        if (code == ' ') {
            EXPECT_EQ(ink, 0);
        } else {
            EXPECT_GT(ink, 0) << "code " << code << " has no glyph";
        }
    }
    for (int i = 0; i < 320 * 200; ++i) {
        if (!used[static_cast<std::size_t>(i)]) {
            ASSERT_EQ(sheet.pixels()[i], 0u) << "pixel " << i << " outside the glyph cells";
        }
    }
}

// Pictures that are added onto the frame must add nothing where they should
// not show: the sprite's rim, the logo's clipped columns.
TEST_F(KitFiles, AddedPicturesAreBlackWhereTheyMustAddNothing)
{
    const auto particle = loadJpeg("particle.jpg", 64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - 32.0f, dy = static_cast<float>(y) + 0.5f - 32.0f;
            if (dx * dx + dy * dy > 29.0f * 29.0f) {
                EXPECT_LE(brightest(particle->pixel(x, y)), 3) << x << "," << y;
            }
        }
    EXPECT_GE(brightest(particle->pixel(32, 32)), 200);
    const auto logo = loadJpeg("kestrel.jpg", 512, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 482; x < 512; ++x)
            EXPECT_LE(brightest(logo->pixel(x, y)), 6) << x << "," << y;
}

// The scroller wraps left to right and the greetings top to bottom: the seam
// must fall in a gap and look like any other step between neighbours.
TEST_F(KitFiles, WrappingStripsHaveNoSeam)
{
    const auto strip = loadJpeg("scrollie1.jpg", 1024, 64);
    auto columnStep = [&](int a, int b) {
        int sum = 0;
        for (int y = 0; y < 64; ++y)
            for (int k = 0; k < 3; ++k)
                sum += std::abs(channel(strip->pixel(a, y), k) - channel(strip->pixel(b, y), k));
        return sum;
    };
    int typical = 0;
    for (int x = 0; x + 1 < 1024; ++x)
        typical = std::max(typical, columnStep(x, x + 1));
    EXPECT_LE(columnStep(1023, 0), typical / 4);
    int seamInk = 0;
    for (int y = 0; y < 64; ++y)
        seamInk = std::max({seamInk, brightest(strip->pixel(0, y)), brightest(strip->pixel(1023, y))});
    EXPECT_LE(seamInk, 40);

    const auto greets = loadJpeg("greets.jpg", 256, 512);
    int rowInk = 0;
    for (int x = 0; x < 256; ++x)
        rowInk = std::max({rowInk, brightest(greets->pixel(x, 0)), brightest(greets->pixel(x, 511))});
    EXPECT_LE(rowInk, 40);
}

// The show reads a mask's blue byte as the portrait's opacity: white over
// the figure, black around it, grey (equal bytes) so it means what it shows.
TEST_F(KitFiles, PortraitMasksCoverTheFigureOnly)
{
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        const auto mask = loadJpeg("umbra" + n + "a.jpg", 178, 169);
        const auto portrait = loadJpeg("umbra" + n + ".jpg", 178, 169);
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{177, 0}, std::pair{0, 168}, std::pair{177, 168}})
            EXPECT_LE(brightest(mask->pixel(x, y)), 6) << n << " corner " << x << "," << y;
        // The middle of the face.
        EXPECT_GE(channel(mask->pixel(89, 60), 0), 245) << n;
        EXPECT_GT(brightest(portrait->pixel(89, 60)), 40) << n;
        for (int i = 0; i < 178 * 169; ++i) {
            const std::uint32_t p = mask->pixels()[i];
            ASSERT_LE(std::abs(channel(p, 0) - channel(p, 1)), 4) << n << " at " << i;
            ASSERT_LE(std::abs(channel(p, 0) - channel(p, 2)), 4) << n << " at " << i;
        }
    }
}

} // namespace
} // namespace zov
