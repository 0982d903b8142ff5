#include "image/PixelRows.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

// The vectorised row routines against the scalar reference: every pair of
// bytes in every byte position, under every level, alpha and factor; then
// every length, start and misalignment of the sources. Each vector set is
// checked on its own, whichever of them the program happens to use.
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

int firstDifference(const std::uint32_t* a, const std::uint32_t* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return static_cast<int>(i);
    return -1;
}

int firstDifference(const Row& a, const Row& b) { return firstDifference(a.data(), b.data(), a.size()); }

// The parameter names the vector set under test: "sse2" or "avx2".
class VectorRows : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        const bool avx2 = GetParam() == "avx2";
        if (avx2 && !rows::cpuHasAvx2())
            GTEST_SKIP() << "this CPU has no AVX2";
        routines_ = &rows::chooseRoutines(avx2, false);
        ASSERT_EQ(std::string(routines_->name), GetParam());
    }
    const rows::RowRoutines& fast() const { return *routines_; }

private:
    const rows::RowRoutines* routines_ = nullptr;
};

TEST_P(VectorRows, SaturatingAddAndInvertOverAllBytePairs)
{
    Row src, dst;
    allBytePairs(src, dst);
    Row want = dst, got = dst;
    rows::scalar::add(want.data(), src.data(), 65536);
    fast().add(got.data(), src.data(), 65536);
    EXPECT_EQ(firstDifference(got, want), -1);
    Row inv = src, invWant = src;
    rows::scalar::invert(invWant.data(), 65536);
    fast().invert(inv.data(), 65536);
    EXPECT_EQ(firstDifference(inv, invWant), -1);
}

TEST_P(VectorRows, FadeOverAllBytePairsAndLevels)
{
    Row src, dst;
    allBytePairs(src, dst);
    for (std::uint32_t level = 0; level < 256; ++level) {
        Row want = dst, got = dst;
        rows::scalar::fade(want.data(), src.data(), 65536, level);
        fast().fade(got.data(), src.data(), 65536, level);
        ASSERT_EQ(firstDifference(got, want), -1) << "level " << level;
    }
}

TEST_P(VectorRows, MaskOverAllBytePairsAndAlphas)
{
    Row src, dst;
    allBytePairs(src, dst);
    std::mt19937 rng(4);
    Row alpha(65536);
    for (std::uint32_t a = 0; a < 256; ++a) {
        // Each pixel meets every alpha over the passes, its neighbours a
        // different one each time. Only byte 0 counts; the rest is noise.
        for (std::uint32_t i = 0; i < 65536; ++i)
            alpha[i] = (rng() & 0xFFFFFF00u) | ((a + i) & 0xFFu);
        Row want = dst, got = dst;
        rows::scalar::mask(want.data(), src.data(), alpha.data(), 65536);
        fast().mask(got.data(), src.data(), alpha.data(), 65536);
        ASSERT_EQ(firstDifference(got, want), -1) << "alpha " << a;
    }
}

TEST_P(VectorRows, BlendOverAllBytePairsAndFactors)
{
    Row a, b;
    allBytePairs(a, b);
    for (std::uint32_t f = 0; f < 256; ++f) {
        Row want(65536), got(65536);
        rows::scalar::blend(want.data(), a.data(), b.data(), 65536, f);
        fast().blend(got.data(), a.data(), b.data(), 65536, f);
        ASSERT_EQ(firstDifference(got, want), -1) << "factor " << f;
    }
}

// A mask or blend may write into one of its own sources, row for row.
TEST_P(VectorRows, MaskAndBlendIntoTheirOwnSource)
{
    std::mt19937 rng(6);
    Row a(301), b(301), alpha(301);
    for (Row* r : {&a, &b, &alpha})
        for (auto& p : *r)
            p = static_cast<std::uint32_t>(rng());
    Row want = a, got = a;
    rows::scalar::mask(want.data() + 1, want.data() + 1, alpha.data(), 300);
    fast().mask(got.data() + 1, got.data() + 1, alpha.data(), 300);
    EXPECT_EQ(firstDifference(got, want), -1);
    want = b;
    got = b;
    rows::scalar::blend(want.data() + 3, a.data() + 2, want.data() + 3, 298, 77);
    fast().blend(got.data() + 3, a.data() + 2, got.data() + 3, 298, 77);
    EXPECT_EQ(firstDifference(got, want), -1);
}

enum class Op { Add, Fade, Mask, Blend, Invert };

// Rows cut from 64-byte aligned buffers, so that offsets 0..7 give every
// position relative to the 16- and 32-byte boundaries.
constexpr int kBuf = 64;
struct alignas(64) Buffer {
    std::array<std::uint32_t, kBuf> p;
};

void runRow(const rows::RowRoutines& r, Op op, std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* t, int n,
            std::uint32_t k)
{
    switch (op) {
    case Op::Add: return r.add(d, s, n);
    case Op::Fade: return r.fade(d, s, n, k);
    case Op::Mask: return r.mask(d, s, t, n);
    case Op::Blend: return r.blend(d, s, t, n, k);
    case Op::Invert: return r.invert(d, n);
    }
}

// Short rows at every start of dst and of each source: the same bytes as the
// reference, and nothing written outside the row.
TEST_P(VectorRows, AnyLengthAndAlignmentWritesOnlyTheRow)
{
    const rows::RowRoutines scalar{"scalar", rows::scalar::add, rows::scalar::fade, rows::scalar::mask,
                                   rows::scalar::blend, rows::scalar::invert};
    std::mt19937 rng(8);
    Buffer src, other, dst, want, got;
    for (int trial = 0; trial < 4; ++trial) {
        for (Buffer* b : {&src, &other, &dst})
            for (auto& p : b->p)
                p = static_cast<std::uint32_t>(rng());
        for (int start = 0; start < 8; ++start)
            for (int sOff = 0; sOff < 8; ++sOff)
                for (int tOff = 0; tOff < 8; tOff += 3)
                    for (int n = 0; n <= 41; ++n)
                        for (Op op : {Op::Add, Op::Fade, Op::Mask, Op::Blend, Op::Invert}) {
                            const std::uint32_t k = rng() & 0xFF;
                            want = dst;
                            got = dst;
                            const std::uint32_t* s = src.p.data() + sOff;
                            const std::uint32_t* t = other.p.data() + tOff;
                            runRow(scalar, op, want.p.data() + start, s, t, n, k);
                            runRow(fast(), op, got.p.data() + start, s, t, n, k);
                            ASSERT_EQ(firstDifference(got.p.data(), want.p.data(), kBuf), -1)
                                << "op " << static_cast<int>(op) << " start " << start << " sources at " << sOff
                                << ", " << tOff << " n " << n;
                        }
    }
}

INSTANTIATE_TEST_SUITE_P(PixelRows, VectorRows, testing::Values("sse2", "avx2"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(PixelRowsChoice, AvxTwoOnlyWhereTheCpuHasItAndNobodyRefusesIt)
{
    EXPECT_STREQ(rows::chooseRoutines(false, false).name, "sse2");
    EXPECT_STREQ(rows::chooseRoutines(false, true).name, "sse2");
    EXPECT_STREQ(rows::chooseRoutines(true, true).name, "sse2");
    EXPECT_STREQ(rows::chooseRoutines(true, false).name, ZOV_HAVE_AVX2_ROWS ? "avx2" : "sse2");

    EXPECT_FALSE(rows::refusesAvx2(nullptr));
    EXPECT_FALSE(rows::refusesAvx2(""));
    EXPECT_FALSE(rows::refusesAvx2("0"));
    EXPECT_TRUE(rows::refusesAvx2("1"));
    EXPECT_TRUE(rows::refusesAvx2("yes"));

    // The set in use follows this process's CPU and environment.
    const auto& expected = rows::chooseRoutines(rows::cpuHasAvx2(), rows::refusesAvx2(std::getenv("ZOV_NO_AVX2")));
    EXPECT_EQ(&rows::activeRoutines(), &expected);
}

#else

TEST(PixelRows, OnlyTheScalarRoutinesOnThisMachine) { GTEST_SKIP() << "no SSE2 routines in this build"; }

#endif

} // namespace
} // namespace zov
