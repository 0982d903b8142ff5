#include "lwo/LwoReader.h"
#include "tests/lwo/LwobBytes.h"
#include "tests/tools/datakit/LwobWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

// Damaged objects under a fixed seed: whatever the bytes, the result holds
// only what the engine may index without checks (run under the sanitizer
// build to see that nothing outside a buffer is touched).
namespace zov {
namespace {

namespace fs = std::filesystem;
using namespace test;

std::vector<Bytes> seeds()
{
    const Bytes texture = subChunk("CTEX", name("Planar Image Map")) + subChunk("TFLG", u16s({4})) +
                          subChunk("TSIZ", floats({1, 2, 3})) + subChunk("TIMG", name("a.jpg")) +
                          subChunk("ttex", name("x")) + subChunk("TCTR", floats({0, 0, 0})) +
                          subChunk("TRAN", u16s({3}));
    std::vector<Bytes> all = {lwob(chunk("SRFS", name("A") + name("B")) + chunk("PNTS", Bytes(48, 0)) +
                                   chunk("POLS", u16s({3, 0, 1, 2, 1, 4, 0, 1, 2, 3, -2, 1, 3, 3, 2, 1, 2})) +
                                   chunk("SURF", name("B") + subChunk("COLR", {9, 8, 7, 0}) + texture) +
                                   chunk("SURF", name("A") + texture))};
    for (const char* kit : {"star.lwo", "testkub.lwo"})
        all.push_back(readFileBytes(fs::path(ZOV_DATA_DIR) / kit));
    const fs::path corpus = fs::path(ZOV_CORPUS_DIR) / "lwo";
    if (fs::exists(corpus))
        for (const fs::directory_entry& entry : fs::directory_iterator(corpus))
            if (entry.file_size() < 12000)
                all.push_back(readFileBytes(entry.path()));
    return all;
}

// Truncations, odd values over the FORM size, a chunk size (found by the
// walk of the intact file) or a 16-bit field (sizes and counts sit at even
// offsets), and flipped bits.
void mutate(Bytes& b, const LwoObjectData& intact, std::mt19937& rng)
{
    const std::uint32_t odd[] = {
        0, 1, 3, 4, 13, 0x7FFF, 0x8000, 0xFFFF, 0xFFFFFFF8, 0xFFFFFFFF, static_cast<std::uint32_t>(rng())};
    const std::uint32_t v = odd[rng() % std::size(odd)];
    std::size_t at = 12;
    const auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes && at + i < b.size(); ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * (bytes - 1 - i)));
    };
    switch (rng() % 5) {
    case 0: b.resize(rng() % b.size()); break;
    case 1: put(4, v, 4); break;
    case 2:
        for (std::size_t i = rng() % intact.chunks.size(); i > 0; --i)
            at += 8 + intact.chunks[i - 1].size + intact.chunks[i - 1].size % 2;
        put(at + 4, v, 4);
        break;
    case 3: put((rng() % b.size()) & ~std::size_t{1}, v, 2); break;
    default: b[rng() % b.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
    }
}

bool usable(const LwoObjectData& o, std::size_t bytes)
{
    const auto polygonOk = [&o](const LwoPolygon& p) {
        return p.indices.size() >= 3 && p.surface >= -1 && p.surface < static_cast<int>(o.surfaces.size()) &&
               std::all_of(p.indices.begin(), p.indices.end(), [&o](std::uint16_t i) { return i < o.points.size(); });
    };
    return o.points.size() <= bytes / 12 && o.surfaces.size() <= kLwoMaxSurfaces &&
           std::all_of(o.polygons.begin(), o.polygons.end(), polygonOk) &&
           std::all_of(o.surfaces.begin(), o.surfaces.end(),
                       [](const LwoSurface& s) { return s.name.size() <= kLwoMaxName; });
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
    std::vector<int> failedRuns;
    testing::internal::CaptureStdout(); // lines for textures that never began
    for (int run = 0; run < 6000; ++run) {
        const std::size_t seed = rng() % originals.size();
        Bytes bytes = originals[seed];
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0 && !bytes.empty(); --edits)
            mutate(bytes, intact[seed], rng);
        reader.parse(bytes.data(), bytes.size());
        if (!usable(reader.result(), bytes.size()))
            failedRuns.push_back(run);
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(failedRuns, std::vector<int>{});
}

} // namespace
} // namespace zov
