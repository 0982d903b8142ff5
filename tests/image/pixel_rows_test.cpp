#include "image/PixelRows.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// The vectorised row routines against the scalar reference: every pair of
// bytes in every byte position, under every level, alpha and factor.
namespace zov {
namespace {

#if ZOV_HAVE_SSE2_ROWS

using Row = std::vector<std::uint32_t>;

// Pixel i carries, in byte position k, a byte pair (s, d) that runs through
// all 65536 pairs as i does, differently in each position.
void allBytePairs(Row& src, Row& dst)
{
    src.resize(65536);
    dst.resize(65536);
    for (std::uint32_t i = 0; i < 65536; ++i) {
        const std::uint32_t s = i >> 8, d = i & 0xFF;
        src[i] = 0;
        dst[i] = 0;
        for (std::uint32_t k = 0; k < 4; ++k) {
            src[i] |= ((s + 64 * k) & 0xFF) << (8 * k);
            dst[i] |= ((d + 17 * k) & 0xFF) << (8 * k);
        }
    }
}

int firstDifference(const Row& a, const Row& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return static_cast<int>(i);
    return -1;
}

TEST(PixelRows, SaturatingAddOverAllBytePairs)
{
    Row src, dst;
    allBytePairs(src, dst);
    Row want = dst, got = dst;
    rows::scalar::add(want.data(), src.data(), 65536);
    rows::sse2::add(got.data(), src.data(), 65536);
    EXPECT_EQ(firstDifference(got, want), -1);
    Row inv = src, invWant = src;
    rows::scalar::invert(invWant.data(), 65536);
    rows::sse2::invert(inv.data(), 65536);
    EXPECT_EQ(firstDifference(inv, invWant), -1);
}

TEST(PixelRows, FadeOverAllBytePairsAndLevels)
{
    Row src, dst;
    allBytePairs(src, dst);
    for (std::uint32_t level = 0; level < 256; ++level) {
        Row want = dst, got = dst;
        rows::scalar::fade(want.data(), src.data(), 65536, level);
        rows::sse2::fade(got.data(), src.data(), 65536, level);
        ASSERT_EQ(firstDifference(got, want), -1) << "level " << level;
    }
}

TEST(PixelRows, MaskOverAllBytePairsAndAlphas)
{
    Row src, dst;
    allBytePairs(src, dst);
    std::mt19937 rng(4);
    Row alpha(65536);
    for (std::uint32_t a = 0; a < 256; ++a) {
        // Only byte 0 of the alpha pixel counts; the rest is noise.
        for (auto& p : alpha)
            p = (rng() & 0xFFFFFF00u) | a;
        Row want = dst, got = dst;
        rows::scalar::mask(want.data(), src.data(), alpha.data(), 65536);
        rows::sse2::mask(got.data(), src.data(), alpha.data(), 65536);
        ASSERT_EQ(firstDifference(got, want), -1) << "alpha " << a;
    }
}

TEST(PixelRows, BlendOverAllBytePairsAndFactors)
{
    Row a, b;
    allBytePairs(a, b);
    for (std::uint32_t f = 0; f < 256; ++f) {
        Row want(65536), got(65536);
        rows::scalar::blend(want.data(), a.data(), b.data(), 65536, f);
        rows::sse2::blend(got.data(), a.data(), b.data(), 65536, f);
        ASSERT_EQ(firstDifference(got, want), -1) << "factor " << f;
    }
}

enum class Op { Add, Fade, Mask, Blend, Invert };

// Sources start at odd offsets so that no two rows share an alignment.
void runRow(Op op, bool sse2, std::uint32_t* d, const Row& s, const Row& a, const Row& o, int n, std::uint32_t k)
{
    switch (op) {
    case Op::Add: return sse2 ? rows::sse2::add(d, s.data() + 3, n) : rows::scalar::add(d, s.data() + 3, n);
    case Op::Fade: return sse2 ? rows::sse2::fade(d, s.data() + 1, n, k) : rows::scalar::fade(d, s.data() + 1, n, k);
    case Op::Mask:
        return sse2 ? rows::sse2::mask(d, s.data(), a.data() + 2, n) : rows::scalar::mask(d, s.data(), a.data() + 2, n);
    case Op::Blend:
        return sse2 ? rows::sse2::blend(d, s.data() + 2, o.data() + 1, n, k)
                    : rows::scalar::blend(d, s.data() + 2, o.data() + 1, n, k);
    case Op::Invert: return sse2 ? rows::sse2::invert(d, n) : rows::scalar::invert(d, n);
    }
}

// Short rows at every misalignment: the same bytes, and nothing written
// outside the row.
TEST(PixelRows, AnyLengthAndAlignmentWritesOnlyTheRow)
{
    std::mt19937 rng(8);
    Row src(64), dst(64), alpha(64), other(64);
    for (int trial = 0; trial < 20; ++trial) {
        for (Row* r : {&src, &dst, &alpha, &other})
            for (auto& p : *r)
                p = static_cast<std::uint32_t>(rng());
        for (int start = 0; start < 4; ++start)
            for (int n = 0; n <= 37; ++n)
                for (Op op : {Op::Add, Op::Fade, Op::Mask, Op::Blend, Op::Invert}) {
                    const std::uint32_t k = rng() & 0xFF;
                    Row want = dst, got = dst;
                    runRow(op, false, want.data() + start, src, alpha, other, n, k);
                    runRow(op, true, got.data() + start, src, alpha, other, n, k);
                    ASSERT_EQ(firstDifference(got, want), -1)
                        << "op " << static_cast<int>(op) << " start " << start << " n " << n;
                }
    }
}

#else

TEST(PixelRows, OnlyTheScalarRoutinesOnThisMachine) { GTEST_SKIP() << "no SSE2 routines in this build"; }

#endif

} // namespace
} // namespace zov
