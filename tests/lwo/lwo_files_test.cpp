#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"
#include "tests/tools/datakit/LwobWalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Whole files through the file entry: the kit's objects and real files from
// public projects, each checked against an independent walk of its chunks.
namespace zov {
namespace {

namespace fs = std::filesystem;

LwoObjectData readFile(const fs::path& path, const std::string& printed = "")
{
    LwoReader reader;
    testing::internal::CaptureStdout();
    reader.read(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), printed) << path;
    return reader.takeResult();
}

TEST(LwoFiles, FileEntryReportsWhatItCouldNotRead)
{
    using namespace test;
    const std::string path = testing::TempDir() + "/lwo_entry_" + std::to_string(getpid()) + ".lwo";
    const Bytes claimsMore = text("FORM") + u32(0xFFFFFFF0) + text("LWOB") + chunk("PNTS", Bytes(36, 0));
    const struct {
        Bytes content;
        std::uint64_t sparseSize;
        std::string printed;
        std::size_t points;
    } cases[] = {
        {claimsMore, 0, "", 3},
        {text("FORM") + u32(4) + text("ILBM"), 0, "COULDNT READ LWO FILE..... \n", 0},
        {text("FOR"), 0, "COULDNT READ LWO FILE..... \n", 0},
        {claimsMore, kLwoMaxFileBytes + 2, "DATA WAS NULL \n", 0}, // larger than any object
        {{}, 0, "", 0},                                            // missing
    };
    for (const auto& c : cases) {
        fs::remove(path);
        if (!c.content.empty()) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.content.data()), static_cast<std::streamsize>(c.content.size()));
            if (c.sparseSize != 0)
                fs::resize_file(path, c.sparseSize);
        }
        EXPECT_EQ(readFile(path, c.printed).points.size(), c.points) << c.printed;
    }
    fs::remove(path);
}

TEST(LwoFiles, KitObjectsReadAsWritten)
{
    for (const char* file : {"star.lwo", "testkub.lwo"}) {
        const fs::path path = fs::path(ZOV_DATA_DIR) / file;
        const test::WalkedLwob walked = test::walkLwob(test::readFileBytes(path));
        ASSERT_EQ(walked.error, "") << file;
        const LwoObjectData o = readFile(path);
        ASSERT_EQ(o.points.size(), walked.points.size()) << file;
        EXPECT_EQ(o.points.back().x, walked.points.back()[0]) << file;
        ASSERT_EQ(o.polygons.size(), walked.polygons.size()) << file;
        for (std::size_t i = 0; i < o.polygons.size(); ++i) {
            EXPECT_EQ(o.polygons[i].indices, walked.polygons[i].vertices) << file << " polygon " << i;
            // SURF chunks in SRFS order: the number counts SURF chunks.
            EXPECT_EQ(o.polygons[i].surface, walked.polygons[i].surface - 1) << file << " polygon " << i;
        }
        ASSERT_EQ(o.surfaces.size(), walked.surfaces.size()) << file;
        for (std::size_t i = 0; i < o.surfaces.size(); ++i) {
            const test::WalkedSurface& w = walked.surfaces[i];
            EXPECT_EQ(o.surfaces[i].name, w.name);
            EXPECT_EQ(o.surfaces[i].colour, w.colour) << w.name;
            EXPECT_EQ(o.surfaces[i].colourTexture.imageName, w.image) << w.name;
        }
    }
}

TEST(LwoFiles, CorpusFilesLoadWithTheirCounts)
{
    const fs::path folder = fs::path(ZOV_CORPUS_DIR) / "lwo";
    if (!fs::exists(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const test::WalkedLwob walked = test::walkLwob(test::readFileBytes(entry.path()));
        ASSERT_EQ(walked.error, "") << entry.path();
        const LwoObjectData o = readFile(entry.path());
        EXPECT_EQ(o.points.size(), walked.points.size()) << entry.path();
        EXPECT_EQ(o.polygons.size(), walked.polygons.size()) << entry.path();
        EXPECT_EQ(o.surfaces.size(), walked.surfaces.size()) << entry.path();
        EXPECT_EQ(o.surfaceNames, walked.surfaceNames) << entry.path();
    }
}

// Its SURF chunks come in another order than its SRFS names, one of which
// is Latin-1.
TEST(LwoFiles, PenguinPolygonsUseTheSurfacesTheirNamesGive)
{
    const fs::path path = fs::path(ZOV_CORPUS_DIR) / "lwo" / "penguin.lwo";
    if (!fs::exists(path))
        GTEST_SKIP() << "no corpus file " << path;
    const LwoObjectData o = readFile(path);
    ASSERT_EQ(o.surfaces.size(), 4u);
    EXPECT_EQ(o.surfaces[1].name, "Silm\xe4");
    // SRFS: Sininen, Valkoinen, Oranssi, Silm\xe4; SURF: Oranssi, Silm\xe4, Sininen, Valkoinen.
    const int byNumber[4] = {2, 3, 0, 1};
    int perSurface[4] = {};
    for (const LwoPolygon& p : o.polygons) {
        ASSERT_EQ(p.surface, byNumber[p.surfaceNumber - 1]);
        ++perSurface[p.surface];
    }
    for (int count : perSurface)
        EXPECT_GT(count, 0);
}

} // namespace
} // namespace zov
