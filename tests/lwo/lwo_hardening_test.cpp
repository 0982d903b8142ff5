#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

// Files that state more than they hold, or hold what the object cannot use.
namespace zov {
namespace {

using test::Bytes;
using test::chunk;
using test::floats;
using test::lwob;
using test::name;
using test::operator+;
using test::subChunk;
using test::text;
using test::u16s;
using test::u32;

LwoObjectData parsed(const Bytes& bytes, bool expectOk = true)
{
    LwoReader reader;
    EXPECT_EQ(reader.parse(bytes.data(), bytes.size()), expectOk);
    return reader.takeResult();
}

const Bytes kPoints = chunk("PNTS", floats({0, 0, 0, 1, 0, 0, 0, 1, 0}));
const Bytes kTriangle = chunk("POLS", u16s({3, 0, 1, 2, 1}));

TEST(LwoHardening, FormSizeAndFileEndBoundTheWalk)
{
    const Bytes file = lwob(kPoints + kTriangle);
    constexpr std::size_t kAll = std::numeric_limits<std::size_t>::max();
    const std::size_t polsAt = 12 + kPoints.size();
    const struct {
        const char* what;
        std::uint32_t formSize;
        std::size_t keptBytes;
        bool ok;
        std::size_t chunks;
    } cases[] = {
        {"as written", static_cast<std::uint32_t>(file.size() - 8), kAll, true, 2},
        {"beyond the file", 0x7FFFFFFF, kAll, true, 2},
        {"wraps when 8 is added", 0xFFFFFFFF, kAll, true, 2},
        {"wraps to 0 when 8 is added", 0xFFFFFFF8, kAll, true, 2},
        {"LWOB alone", 4, kAll, true, 0},
        {"under 4", 3, kAll, false, 0},
        {"zero", 0, kAll, false, 0},
        {"ends inside POLS", static_cast<std::uint32_t>(polsAt - 8 + 12), kAll, true, 1},
        {"file cut in the POLS header", 0, polsAt + 5, true, 1},
        {"file cut in the PNTS data", 0, 12 + 8 + 20, true, 0},
        {"file cut in the LWOB id", 0, 10, false, 0},
    };
    for (const auto& c : cases) {
        Bytes bytes = file;
        if (c.formSize != 0 || c.keptBytes == kAll)
            std::copy_n(u32(c.formSize).begin(), 4, bytes.begin() + 4);
        bytes.resize(std::min(bytes.size(), c.keptBytes));
        const LwoObjectData o = parsed(bytes, c.ok);
        EXPECT_EQ(o.chunks.size(), c.chunks) << c.what;
        EXPECT_EQ(o.points.size(), c.chunks > 0 ? 3u : 0u) << c.what;
        EXPECT_EQ(o.polygons.size(), c.chunks > 1 ? 1u : 0u) << c.what;
    }
    parsed(text("FROM") + Bytes(file.begin() + 4, file.end()), false);
    parsed(text("FORM") + u32(8) + text("LWO2") + kPoints, false);
}

TEST(LwoHardening, PolygonsAreCheckedAndDetailCountsSkipped)
{
    const Bytes pols = u16s({0, 1,                 // no corners: skipped
                             2, 0, 1, 1,           // two corners: skipped
                             3, 0, 1, 2, 1,        // kept
                             3, 0, 1, 4, 1,        // point 4 is not in the file: dropped
                             4, 0, 1, 2, 3, -2, 1, // detail polygons follow: surface 2, one of them
                             3, 3, 2, 1, 1,        // the detail polygon
                             5, 0, 1});            // runs past the chunk: the walk stops
    const Bytes square = floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    const LwoObjectData o = parsed(lwob(chunk("POLS", pols) + chunk("PNTS", square))); // POLS first
    ASSERT_EQ(o.polygons.size(), 3u);
    EXPECT_EQ(o.polygons[0].indices, (std::vector<std::uint16_t>{0, 1, 2}));
    EXPECT_EQ(o.polygons[1].indices, (std::vector<std::uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(o.polygons[1].surfaceNumber, 2);
    EXPECT_EQ(o.polygons[2].indices, (std::vector<std::uint16_t>{3, 2, 1}));
    EXPECT_EQ(o.polygons[2].surfaceNumber, 1);
}

TEST(LwoHardening, SurfaceNumbersNameSrfsEntries)
{
    const Bytes surfs = chunk("SURF", name("C")) + chunk("SURF", name("A")) + chunk("SURF", name("D"));
    const Bytes pols = chunk("POLS", u16s({3, 0, 1, 2, 1, 3, 0, 1, 2, 2, 3, 0, 1, 2, 3, 3, 0, 1, 2, 4, 3, 0, 1, 2, 0}));
    // A is named and found; B is named but missing, so its position counts;
    // 4 is neither named nor a position; 0 names nothing.
    const std::vector<int> named = {1, 1, 0, -1, -1};
    const std::vector<int> byPosition = {0, 1, 2, -1, -1};
    for (bool withSrfs : {true, false}) {
        const Bytes srfs = withSrfs ? chunk("SRFS", name("A") + name("B") + name("C")) : Bytes{};
        const LwoObjectData o = parsed(lwob(kPoints + pols + surfs + srfs)); // SRFS last
        std::vector<int> surfaces;
        for (const LwoPolygon& p : o.polygons)
            surfaces.push_back(p.surface);
        EXPECT_EQ(surfaces, withSrfs ? named : byPosition);
    }
}

TEST(LwoHardening, SurfacesPastTheLimitAreSkipped)
{
    Bytes chunks = kPoints + chunk("POLS", u16s({3, 0, 1, 2, 128, 3, 0, 1, 2, 130}));
    for (int i = 0; i < 130; ++i) {
        std::string surfaceName = "s";
        surfaceName += std::to_string(i);
        chunks = chunks + chunk("SURF", name(surfaceName) + subChunk("COLR", {0, 0, 1, 0}));
    }
    const LwoObjectData o = parsed(lwob(chunks));
    ASSERT_EQ(o.surfaces.size(), kLwoMaxSurfaces);
    EXPECT_EQ(o.surfaces.back().name, "s127");
    EXPECT_EQ(o.polygons[0].surface, 127);
    EXPECT_EQ(o.polygons[1].surface, -1);
}

TEST(LwoHardening, SubChunksApplyOnlyWhatTheyHold)
{
    const Bytes rgb = subChunk("COLR", {1, 2, 3});
    const struct {
        const char* what;
        Bytes subChunks;
        std::uint32_t colour;
        std::uint16_t transparency, flags;
        double sizeX;
    } cases[] = {
        {"COLR of 2 bytes", subChunk("COLR", {1, 2}), 0, 0, 0, 0},
        {"TRAN of 1 byte", rgb + subChunk("TRAN", {7}), 0x010203, 0, 0, 0},
        {"size past the chunk", rgb + text("TRAN") + u16s({40, 9}), 0x010203, 0, 0, 0},
        {"5 bytes left", subChunk("TRAN", {0, 9}) + text("COLR") + Bytes{0}, 0, 9, 0, 0},
        {"short TFLG and TSIZ", subChunk("CTEX", {}) + subChunk("TFLG", {1}) + subChunk("TSIZ", floats({1, 2})), 0, 0,
         0, 0},
        {"TFLG and TSIZ", subChunk("CTEX", {}) + subChunk("TFLG", {0, 1}) + subChunk("TSIZ", floats({1, 2, 3})), 0, 0,
         1, 1},
    };
    for (const auto& c : cases) {
        const LwoObjectData o = parsed(lwob(chunk("SURF", name("S") + c.subChunks)));
        ASSERT_EQ(o.surfaces.size(), 1u) << c.what;
        const LwoSurface& s = o.surfaces[0];
        EXPECT_EQ(s.colour, c.colour) << c.what;
        EXPECT_EQ(s.transparency, c.transparency) << c.what;
        EXPECT_EQ(s.colourTexture.flags, c.flags) << c.what;
        EXPECT_EQ(s.colourTexture.size.x, c.sizeX) << c.what;
    }
}

TEST(LwoHardening, FileEntryReportsWhatItCouldNotRead)
{
    const std::string path = testing::TempDir() + "/lwo_entry_" + std::to_string(getpid()) + ".lwo";
    const Bytes claimsMore = text("FORM") + u32(0xFFFFFFF0) + text("LWOB");
    const struct {
        const char* what;
        Bytes content;
        std::uint64_t sparseSize;
        std::string printed;
        std::size_t points;
    } cases[] = {
        {"FORM size beyond the file", claimsMore + kPoints, 0, "", 3},
        {"not LWOB", text("FORM") + u32(16) + text("ILBM") + kPoints, 0, "COULDNT READ LWO FILE..... \n", 0},
        {"3 bytes", text("FOR"), 0, "COULDNT READ LWO FILE..... \n", 0},
        {"larger than any object", claimsMore + kPoints, kLwoMaxFileBytes + 2, "DATA WAS NULL \n", 0},
        {"missing", {}, 0, "", 0},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(path);
        if (!c.content.empty()) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.content.data()), static_cast<std::streamsize>(c.content.size()));
            if (c.sparseSize != 0)
                std::filesystem::resize_file(path, c.sparseSize);
        }
        LwoReader reader;
        testing::internal::CaptureStdout();
        reader.read(path.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed) << c.what;
        EXPECT_EQ(reader.result().points.size(), c.points) << c.what;
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace zov
