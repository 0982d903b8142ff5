#include "lwo/LwoReader.h"
#include "tests/tools/datakit/LwobWalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Whole files through the file entry: the kit's objects and real files from
// public projects, each checked against an independent walk of its chunks.
namespace zov {
namespace {

namespace fs = std::filesystem;

LwoObjectData readFile(const fs::path& path)
{
    LwoReader reader;
    testing::internal::CaptureStdout();
    reader.read(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << path;
    return reader.takeResult();
}

TEST(LwoFiles, KitObjectsReadAsWritten)
{
    for (const char* file : {"star.lwo", "testkub.lwo"}) {
        const fs::path path = fs::path(ZOV_DATA_DIR) / file;
        const test::WalkedLwob walked = test::walkLwob(test::readFileBytes(path));
        ASSERT_EQ(walked.error, "") << file;
        const LwoObjectData o = readFile(path);

        ASSERT_EQ(o.points.size(), walked.points.size()) << file;
        for (std::size_t i = 0; i < o.points.size(); ++i) {
            const auto& w = walked.points[i];
            EXPECT_TRUE(o.points[i].x == w[0] && o.points[i].y == w[1] && o.points[i].z == w[2]) << file << i;
        }
        ASSERT_EQ(o.polygons.size(), walked.polygons.size()) << file;
        for (std::size_t i = 0; i < o.polygons.size(); ++i) {
            EXPECT_EQ(o.polygons[i].indices, walked.polygons[i].vertices) << file << " polygon " << i;
            // The kit writes SURF in SRFS order: the number counts SURF chunks.
            EXPECT_EQ(o.polygons[i].surface, walked.polygons[i].surface - 1) << file << " polygon " << i;
        }
        ASSERT_EQ(o.surfaces.size(), walked.surfaces.size()) << file;
        for (std::size_t i = 0; i < o.surfaces.size(); ++i) {
            const LwoSurface& s = o.surfaces[i];
            const test::WalkedSurface& w = walked.surfaces[i];
            EXPECT_EQ(s.name, w.name);
            EXPECT_EQ(s.colour, w.colour) << s.name;
            EXPECT_EQ(s.colourTexture.typeName, w.textureType) << s.name;
            EXPECT_EQ(s.colourTexture.imageName, w.image) << s.name;
            EXPECT_EQ(s.colourTexture.hasImage, !w.image.empty()) << s.name;
            EXPECT_EQ(s.colourTexture.flags, w.textureFlags) << s.name;
            EXPECT_EQ(s.colourTexture.size.x, w.size[0]) << s.name;
            EXPECT_EQ(s.colourTexture.centre.y, w.centre[1]) << s.name;
        }
        EXPECT_EQ(o.surfaceNames, walked.surfaceNames) << file;
        EXPECT_EQ(o.chunks.size(), walked.chunks.size()) << file;
    }
}

TEST(LwoFiles, CorpusFilesLoadWithTheirCounts)
{
    const fs::path folder = fs::path(ZOV_CORPUS_DIR) / "lwo";
    if (!fs::exists(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const test::WalkedLwob walked = test::walkLwob(test::readFileBytes(entry.path()));
        ASSERT_EQ(walked.error, "") << entry.path();
        const LwoObjectData o = readFile(entry.path());
        EXPECT_EQ(o.points.size(), walked.points.size()) << entry.path();
        EXPECT_EQ(o.polygons.size(), walked.polygons.size()) << entry.path();
        EXPECT_EQ(o.surfaces.size(), walked.surfaces.size()) << entry.path();
        EXPECT_EQ(o.surfaceNames, walked.surfaceNames) << entry.path();
        for (const LwoPolygon& p : o.polygons) {
            ASSERT_GE(p.surface, 0) << entry.path();
            EXPECT_EQ(o.surfaces[p.surface].name, o.surfaceNames[p.surfaceNumber - 1]) << entry.path();
        }
        ++files;
    }
    EXPECT_EQ(files, 9);
}

// Its SURF chunks come in another order than its SRFS names, one of which
// is Latin-1 ("Silm\xe4").
TEST(LwoFiles, PenguinPolygonsUseTheSurfacesTheirNamesGive)
{
    const fs::path path = fs::path(ZOV_CORPUS_DIR) / "lwo" / "penguin.lwo";
    if (!fs::exists(path))
        GTEST_SKIP() << "no corpus file " << path;
    const LwoObjectData o = readFile(path);
    ASSERT_EQ(o.surfaces.size(), 4u);
    EXPECT_EQ(o.surfaces[1].name, "Silm\xe4");
    int perSurface[4] = {};
    for (const LwoPolygon& p : o.polygons)
        ++perSurface[p.surface];
    // SRFS: Sininen, Valkoinen, Oranssi, Silm\xe4; SURF: Oranssi, Silm\xe4, Sininen, Valkoinen.
    const int byNumber[4] = {2, 3, 0, 1};
    for (const LwoPolygon& p : o.polygons)
        ASSERT_EQ(p.surface, byNumber[p.surfaceNumber - 1]);
    for (int count : perSurface)
        EXPECT_GT(count, 0);
}

} // namespace
} // namespace zov
