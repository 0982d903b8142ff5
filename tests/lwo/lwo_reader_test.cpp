#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

// Chunk layouts, well-formed and damaged, through the in-memory entry.
namespace zov {
namespace {

using namespace test;
using Indices = std::vector<std::uint16_t>;

struct Parsed {
    bool ok;
    LwoObjectData data;
    std::string printed;
};

Parsed parse(const Bytes& bytes)
{
    LwoReader reader;
    testing::internal::CaptureStdout();
    const bool ok = reader.parse(bytes.data(), bytes.size());
    std::string printed = testing::internal::GetCapturedStdout();
    return {ok, reader.takeResult(), printed};
}

LwoSurface surfaceOf(const Bytes& surfChunk, std::string* printed = nullptr)
{
    Parsed p = parse(lwob(chunk("SURF", surfChunk)));
    EXPECT_EQ(p.data.surfaces.size(), 1u);
    if (printed)
        *printed = p.printed;
    return p.data.surfaces.empty() ? LwoSurface{} : p.data.surfaces[0];
}

const Bytes kPoints = chunk("PNTS", floats({0, 0, 0, 1, 0, 0, 0, 1, 0}));

TEST(LwoReader, OddChunksArePaddedAndChunkIdsAreCaseSensitive)
{
    const Bytes odd = floats({1.5f, -2.0f, 3.25f}) + Bytes{0x77}; // 13 bytes, then its pad byte
    const Parsed p =
        parse(lwob(chunk("PNTS", odd) + chunk("pnts", Bytes(24, 0)) + chunk("POLS", u16s({3, 0, 0, 0, 1}))));
    ASSERT_EQ(p.data.points.size(), 1u);
    EXPECT_EQ(p.data.points[0].z, 3.25);
    ASSERT_EQ(p.data.chunks.size(), 3u);
    EXPECT_STREQ(p.data.chunks[1].id, "pnts");
    EXPECT_EQ(p.data.chunks[0].size, 13u);
    EXPECT_EQ(p.data.polygons.size(), 1u);
}

TEST(LwoReader, SurfaceNamesArePaddedAndBounded)
{
    const std::string longName(300, 'n');
    const std::string cases[][2] = {
        {"Hull5", "Hull5"},                  // 6 bytes with its terminator: no pad
        {"Hul4", "Hul4"},                    // 5 bytes: a pad byte follows
        {"Silm\xe4", "Silm\xe4"},            // Latin-1 bytes kept
        {longName, longName.substr(0, 255)}, // read whole, kept in part
    };
    for (const auto& [written, kept] : cases) {
        const LwoSurface s = surfaceOf(name(written) + subChunk("colR", {0x12, 0x34, 0x56, 0})); // any letter case
        EXPECT_EQ(s.name, kept);
        EXPECT_EQ(s.colour, 0x123456u) << kept;
    }
    EXPECT_EQ(surfaceOf(text("Open")).name, "Open"); // no terminator: ends with the chunk
}

TEST(LwoReader, TextureDetailsGoToTheLatestTexture)
{
    const LwoSurface s = surfaceOf(name("Glass") + subChunk("CTEX", name("Planar Image Map")) +
                                   subChunk("TFLG", u16s({4})) + subChunk("ttex", name("Cylindrical Image Map")) +
                                   subChunk("TSIZ", floats({1, 2, 3})) + subChunk("TCTR", floats({4, 5, 6})) +
                                   subChunk("TIMG", name("glass.jpg")) + subChunk("TRAN", u16s({0x8001})));
    EXPECT_EQ(s.colourTexture.typeName, "Planar Image Map");
    EXPECT_EQ(s.colourTexture.flags, 4);
    EXPECT_FALSE(s.colourTexture.hasImage);
    const LwoTextureDef& t = s.transparencyTexture;
    EXPECT_EQ(t.typeName, "Cylindrical Image Map");
    EXPECT_EQ(t.size.z + t.centre.x, 3.0 + 4.0);
    EXPECT_EQ(t.imageName, "glass.jpg");
    EXPECT_TRUE(t.hasImage);
    EXPECT_EQ(s.transparency, 0x8001);
}

TEST(LwoReader, SubChunksApplyOnlyWhatTheyHold)
{
    const Bytes rgb = subChunk("COLR", {1, 2, 3});
    const Bytes ctex = subChunk("CTEX", {});
    const std::string noTexture = "current texture is null, but texture def chunk found \n";
    const struct {
        const char* what;
        Bytes subChunks;
        std::uint32_t colour;
        std::uint16_t transparency, flags;
        std::string printed;
    } cases[] = {
        {"COLR of 2 bytes", subChunk("COLR", {1, 2}), 0, 0, 0, ""},
        {"TRAN of 1 byte", rgb + subChunk("TRAN", {7}), 0x010203, 0, 0, ""},
        {"size past the chunk", rgb + text("TRAN") + u16s({40, 9}), 0x010203, 0, 0, ""},
        {"5 bytes left", subChunk("TRAN", {0, 9}) + text("COLR") + Bytes{0}, 0, 9, 0, ""},
        {"TFLG of 1 byte", ctex + subChunk("TFLG", {1}), 0, 0, 0, ""},
        {"TFLG", ctex + subChunk("TFLG", {0, 1}), 0, 0, 1, ""},
        {"no texture",
         subChunk("TFLG", {0, 1}) + subChunk("TSIZ", Bytes(12, 0)) + subChunk("TCTR", Bytes(12, 0)) +
             subChunk("TIMG", name("x.jpg")),
         0, 0, 0, noTexture + noTexture + "current texture is null, bu t texture def chunk found \n" + noTexture},
    };
    for (const auto& c : cases) {
        std::string printed;
        const LwoSurface s = surfaceOf(name("S") + c.subChunks, &printed);
        EXPECT_EQ(s.colour, c.colour) << c.what;
        EXPECT_EQ(s.transparency, c.transparency) << c.what;
        EXPECT_EQ(s.colourTexture.flags + s.transparencyTexture.flags, c.flags) << c.what;
        EXPECT_FALSE(s.transparencyTexture.hasImage) << c.what;
        EXPECT_EQ(printed, c.printed) << c.what;
    }
}

TEST(LwoReader, FormSizeAndFileEndBoundTheWalk)
{
    const Bytes file = lwob(kPoints + chunk("POLS", u16s({3, 0, 1, 2, 1})));
    const std::size_t polsAt = 12 + kPoints.size(), all = std::numeric_limits<std::size_t>::max();
    const struct {
        const char* what;
        std::uint32_t formSize; // 0: as written
        std::size_t keptBytes;
        bool ok;
        std::size_t chunks;
    } cases[] = {
        {"beyond the file", 0x7FFFFFFF, all, true, 2},
        {"wraps when 8 is added", 0xFFFFFFFF, all, true, 2},
        {"wraps to 0 when 8 is added", 0xFFFFFFF8, all, true, 2},
        {"LWOB alone", 4, all, true, 0},
        {"under 4", 3, all, false, 0},
        {"ends inside POLS", static_cast<std::uint32_t>(polsAt + 4), all, true, 1},
        {"file cut in the POLS header", 0, polsAt + 5, true, 1},
        {"file cut in the PNTS data", 0, 40, true, 0},
        {"file cut in the LWOB id", 0, 10, false, 0},
    };
    for (const auto& c : cases) {
        Bytes bytes = file;
        if (c.formSize != 0)
            std::copy_n(u32(c.formSize).begin(), 4, bytes.begin() + 4);
        bytes.resize(std::min(bytes.size(), c.keptBytes));
        const Parsed p = parse(bytes);
        EXPECT_EQ(p.ok, c.ok) << c.what;
        EXPECT_EQ(p.data.chunks.size(), c.chunks) << c.what;
        EXPECT_EQ(p.data.polygons.size(), c.chunks / 2) << c.what;
    }
    EXPECT_FALSE(parse(text("FORM") + u32(8) + text("LWO2") + kPoints).ok);
}

TEST(LwoReader, PolygonsAreCheckedAndDetailCountsSkipped)
{
    const Bytes pols = u16s({0, 1,                 // no corners: skipped
                             2, 0, 1, 1,           // two corners: skipped
                             3, 0, 1, 2, 1,        // kept
                             3, 0, 1, 4, 1,        // point 4 is not in the file: dropped
                             4, 0, 1, 2, 3, -2, 1, // surface 2, one detail polygon follows
                             3, 3, 2, 1, 1,        // the detail polygon
                             5, 0, 1});            // runs past the chunk
    const Parsed p = parse(lwob(chunk("POLS", pols) + chunk("PNTS", Bytes(48, 0)))); // POLS first
    ASSERT_EQ(p.data.polygons.size(), 3u);
    EXPECT_EQ(p.data.polygons[0].indices, (Indices{0, 1, 2}));
    EXPECT_EQ(p.data.polygons[1].indices, (Indices{0, 1, 2, 3}));
    EXPECT_EQ(p.data.polygons[2].indices, (Indices{3, 2, 1}));
    EXPECT_EQ(p.data.polygons[1].surfaceNumber * 10 + p.data.polygons[2].surfaceNumber, 21);
}

TEST(LwoReader, SurfaceNumbersNameSrfsEntries)
{
    Bytes surfs = chunk("SURF", name("C")) + chunk("SURF", name("A")) + chunk("SURF", name("D"));
    for (int i = 3; i < 130; ++i)
        surfs = surfs + chunk("SURF", name(std::to_string(i)));
    const Bytes pols = chunk("POLS", u16s({3, 0, 1, 2, 1,   3, 0, 1, 2, 2,  3, 0, 1, 2, 3, 3, 0, 1, 2, 0, //
                                           3, 0, 1, 2, 128, 3, 0, 1, 2, 129}));
    // A is named and found; B is named but missing, so its position counts;
    // 0 names nothing; SURF chunks past 128 are skipped.
    const std::vector<int> named = {1, 1, 0, -1, 127, -1};
    const std::vector<int> byPosition = {0, 1, 2, -1, 127, -1};
    for (bool withSrfs : {true, false}) {
        const Bytes srfs = withSrfs ? chunk("SRFS", name("A") + name("B") + name("C")) : Bytes{};
        const Parsed p = parse(lwob(kPoints + pols + surfs + srfs)); // SRFS last
        EXPECT_EQ(p.data.surfaces.size(), kLwoMaxSurfaces);
        std::vector<int> surfaces;
        for (const LwoPolygon& polygon : p.data.polygons)
            surfaces.push_back(polygon.surface);
        EXPECT_EQ(surfaces, withSrfs ? named : byPosition);
    }
}

} // namespace
} // namespace zov
