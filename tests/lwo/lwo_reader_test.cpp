#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The chunk and sub-chunk layout through the in-memory entry.
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

LwoObjectData parsed(const Bytes& bytes, std::string* printed = nullptr)
{
    LwoReader reader;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(reader.parse(bytes.data(), bytes.size()));
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed)
        *printed = out;
    else
        EXPECT_EQ(out, "");
    return reader.takeResult();
}

LwoSurface surfaceOf(const Bytes& surfChunkData, std::string* printed = nullptr)
{
    const LwoObjectData o = parsed(lwob(chunk("SURF", surfChunkData)), printed);
    EXPECT_EQ(o.surfaces.size(), 1u);
    return o.surfaces.empty() ? LwoSurface{} : o.surfaces[0];
}

std::vector<std::string> chunkIds(const LwoObjectData& o)
{
    std::vector<std::string> ids;
    for (const LwoChunkInfo& c : o.chunks)
        ids.push_back(c.id);
    return ids;
}

TEST(LwoReader, OddChunksArePaddedAndChunkIdsAreCaseSensitive)
{
    const Bytes odd = floats({1.5f, -2.0f, 3.25f}) + Bytes{0x77}; // 13 bytes, then its pad byte
    const LwoObjectData o = parsed(
        lwob(chunk("PNTS", odd) + chunk("pnts", floats({9, 9, 9, 9, 9, 9})) + chunk("POLS", u16s({3, 0, 0, 0, 1}))));
    ASSERT_EQ(o.points.size(), 1u);
    EXPECT_EQ(o.points[0].x, 1.5);
    EXPECT_EQ(o.points[0].y, -2.0);
    EXPECT_EQ(o.points[0].z, 3.25);
    EXPECT_EQ(chunkIds(o), (std::vector<std::string>{"PNTS", "pnts", "POLS"}));
    EXPECT_EQ(o.chunks[0].size, 13u);
    EXPECT_EQ(o.polygons.size(), 1u);
}

TEST(LwoReader, SurfaceNamesArePaddedAndBounded)
{
    const std::string longName(300, 'n');
    const struct {
        std::string fileName, kept;
    } cases[] = {
        {"Hull5", "Hull5"},                  // 6 bytes with its terminator: no pad
        {"Hul4", "Hul4"},                    // 5 bytes: a pad byte follows
        {"Silm\xe4", "Silm\xe4"},            // Latin-1 bytes kept
        {longName, longName.substr(0, 255)}, // read whole, kept in part
    };
    for (const auto& c : cases) {
        // Sub-chunk identifiers in any letter case.
        const LwoSurface s = surfaceOf(name(c.fileName) + subChunk("colR", {0x12, 0x34, 0x56, 0}));
        EXPECT_EQ(s.name, c.kept);
        EXPECT_EQ(s.colour, 0x123456u) << c.kept;
    }
    // A name without its terminator ends with the chunk.
    EXPECT_EQ(surfaceOf(text("Open")).name, "Open");
}

TEST(LwoReader, TextureDetailsGoToTheLatestTexture)
{
    const LwoSurface s =
        surfaceOf(name("Glass") + subChunk("CTEX", name("Planar Image Map")) + subChunk("TFLG", u16s({4})) +
                  subChunk("ttex", name("Cylindrical Image Map")) + subChunk("TSIZ", floats({1, 2, 3})) +
                  subChunk("TCTR", floats({4, 5, 6})) + subChunk("TIMG", name("glass.jpg")) +
                  subChunk("TFLG", u16s({2})) + subChunk("TRAN", u16s({0x8001})));
    EXPECT_EQ(s.colourTexture.typeName, "Planar Image Map");
    EXPECT_EQ(s.colourTexture.flags, 4);
    EXPECT_FALSE(s.colourTexture.hasImage);
    EXPECT_EQ(s.colourTexture.size.x, 0.0);
    const LwoTextureDef& t = s.transparencyTexture;
    EXPECT_EQ(t.typeName, "Cylindrical Image Map");
    EXPECT_EQ(t.flags, 2);
    EXPECT_EQ(t.size.z, 3.0);
    EXPECT_EQ(t.centre.x, 4.0);
    EXPECT_EQ(t.imageName, "glass.jpg");
    EXPECT_TRUE(t.hasImage);
    EXPECT_EQ(s.transparency, 0x8001);
}

TEST(LwoReader, TextureDetailsWithoutTextureAreReported)
{
    std::string printed;
    const LwoSurface s = surfaceOf(name("Bare") + subChunk("TFLG", u16s({1})) + subChunk("TSIZ", floats({1, 1, 1})) +
                                       subChunk("TCTR", floats({1, 1, 1})) + subChunk("TIMG", name("x.jpg")),
                                   &printed);
    EXPECT_EQ(printed, "current texture is null, but texture def chunk found \n"
                       "current texture is null, but texture def chunk found \n"
                       "current texture is null, bu t texture def chunk found \n"
                       "current texture is null, but texture def chunk found \n");
    EXPECT_FALSE(s.colourTexture.hasImage || s.transparencyTexture.hasImage);
    EXPECT_EQ(s.colourTexture.flags + s.transparencyTexture.flags, 0);
}

} // namespace
} // namespace zov
