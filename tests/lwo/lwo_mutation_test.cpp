#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"
#include "tests/tools/datakit/LwobWalk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

// Damaged objects under a fixed seed: whatever the bytes, the result holds
// only what the engine may index without checks (run under the sanitizer
// build to see that nothing outside a buffer is touched).
namespace zov {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::operator+;

Bytes everyChunkKind()
{
    using namespace test;
    const Bytes texture = subChunk("CTEX", name("Planar Image Map")) + subChunk("TFLG", u16s({4})) +
                          subChunk("TSIZ", floats({1, 2, 3})) + subChunk("TCTR", floats({0, 0, 0})) +
                          subChunk("TIMG", name("a.jpg")) + subChunk("ttex", name("x")) + subChunk("TRAN", u16s({3})) +
                          subChunk("FLAG", u16s({0}));
    return lwob(chunk("SRFS", name("A") + name("B")) + chunk("PNTS", floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0})) +
                chunk("POLS", u16s({3, 0, 1, 2, 1, 4, 0, 1, 2, 3, -2, 1, 3, 3, 2, 1, 2})) +
                chunk("SURF", name("B") + subChunk("COLR", {9, 8, 7, 0}) + texture) +
                chunk("SURF", name("A") + texture));
}

std::vector<Bytes> seeds()
{
    std::vector<Bytes> all = {everyChunkKind()};
    for (const char* kit : {"star.lwo", "testkub.lwo"})
        all.push_back(test::readFileBytes(fs::path(ZOV_DATA_DIR) / kit));
    const fs::path corpus = fs::path(ZOV_CORPUS_DIR) / "lwo";
    if (fs::exists(corpus))
        for (const fs::directory_entry& entry : fs::directory_iterator(corpus))
            if (entry.file_size() < 12000)
                all.push_back(test::readFileBytes(entry.path()));
    return all;
}

// Standard output to /dev/null for the life of the object.
class QuietStdout {
public:
    QuietStdout()
    {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_ = dup(1);
};

// Sizes and counts sit at even offsets; chunk sizes where the walk finds them.
void mutate(Bytes& b, const LwoObjectData& intact, std::mt19937& rng)
{
    const auto pick = [&rng](std::initializer_list<std::uint32_t> v) { return *(v.begin() + rng() % v.size()); };
    const auto put32 = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4 && at + i < b.size(); ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    switch (rng() % 5) {
    case 0: b.resize(rng() % b.size()); break;
    case 1: put32(4, pick({0, 3, 4, 0xFFFFFFF8, 0xFFFFFFFF, static_cast<std::uint32_t>(rng())})); break;
    case 2: {
        std::size_t at = 12;
        for (std::size_t i = rng() % intact.chunks.size(); i > 0; --i)
            at += 8 + intact.chunks[i - 1].size + intact.chunks[i - 1].size % 2;
        put32(at + 4, pick({0, 1, 13, 0xFFFFFFFF, intact.chunks[0].size + 1, static_cast<std::uint32_t>(rng())}));
        break;
    }
    case 3: {
        const std::size_t at = (rng() % b.size()) & ~std::size_t{1};
        const std::uint32_t v = pick({0, 1, 2, 0x7FFF, 0x8000, 0xFFFF, static_cast<std::uint32_t>(rng() & 0xFFFF)});
        b[at] = static_cast<std::uint8_t>(v >> 8);
        if (at + 1 < b.size())
            b[at + 1] = static_cast<std::uint8_t>(v);
        break;
    }
    default: b[rng() % b.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
    }
}

TEST(LwoMutation, DamagedFilesGiveUsableResults)
{
    std::mt19937 rng(12);
    const std::vector<Bytes> originals = seeds();
    std::vector<LwoObjectData> intact;
    LwoReader reader;
    for (const Bytes& b : originals) {
        ASSERT_TRUE(reader.parse(b.data(), b.size()));
        intact.push_back(reader.takeResult());
    }
    const QuietStdout quiet; // the lines of textureless surfaces
    for (int run = 0; run < 6000; ++run) {
        const std::size_t seed = rng() % originals.size();
        Bytes bytes = originals[seed];
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0 && !bytes.empty(); --edits)
            mutate(bytes, intact[seed], rng);
        reader.parse(bytes.data(), bytes.size());
        const LwoObjectData& o = reader.result();
        ASSERT_LE(o.points.size(), bytes.size() / 12);
        ASSERT_LE(o.surfaces.size(), kLwoMaxSurfaces);
        for (const LwoSurface& s : o.surfaces)
            ASSERT_LE(s.name.size(), kLwoMaxName);
        for (const LwoPolygon& p : o.polygons) {
            ASSERT_GE(p.indices.size(), 3u) << "run " << run;
            for (std::uint16_t i : p.indices)
                ASSERT_LT(i, o.points.size()) << "run " << run;
            ASSERT_GE(p.surface, -1);
            ASSERT_LT(p.surface, static_cast<int>(o.surfaces.size()));
        }
    }
}

} // namespace
} // namespace zov
