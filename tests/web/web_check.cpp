// The web build against the native one's references, run under node in the
// folder that holds data/: the SSE2 row routines and feedback blurs as
// Emscripten maps them onto SIMD128 against the scalar ones; the show's
// music walking every row
// of every order in sequence; every golden frame of GOLDEN_DIR/hashes.txt,
// drawn from the pictures as this build decodes them. Prints each fault on
// stderr; exits 0 when there is none, 1 otherwise, 77 (skipped) without
// data/.
#include "effects/FeedbackBlur.h"
#include "image/Bitmap.h"
#include "image/PixelRows.h"
#include "platform/openmpt/ModuleInfo.h"
#include "platform/openmpt/ModuleSource.h"
#include "show/PartPlayback.h"
#include "show/ShowTable.h"
#include "tests/ReferenceHashes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zov {
namespace {

int rowFaults()
{
#if ZOV_HAVE_SSE2_ROWS
    // Every pair of bytes, differently in each byte position.
    constexpr int n = 65536;
    std::vector<std::uint32_t> src(n), dst(n), alpha(n), a(n), b(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        for (std::uint32_t k = 0; k < 4; ++k) {
            src[i] |= (((i >> 8) + 64 * k) & 0xFF) << (8 * k);
            dst[i] |= (((i & 0xFF) + 17 * k) & 0xFF) << (8 * k);
        }
        alpha[i] = i * 7 & 0xFF;
    }
    int faults = 0;
    auto compare = [&](const char* what) {
        if (a != b) {
            std::fprintf(stderr, "rows: sse2 %s differs from scalar\n", what);
            ++faults;
        }
    };
    a = b = dst;
    rows::scalar::add(a.data(), src.data(), n);
    rows::sse2::add(b.data(), src.data(), n);
    compare("add");
    a = b = dst;
    rows::scalar::mask(a.data(), src.data(), alpha.data(), n);
    rows::sse2::mask(b.data(), src.data(), alpha.data(), n);
    compare("mask");
    rows::scalar::invert(a.data() + 1, n - 3);
    rows::sse2::invert(b.data() + 1, n - 3);
    compare("invert");
    for (std::uint32_t level : {0u, 1u, 127u, 128u, 254u, 255u}) {
        a = b = dst;
        rows::scalar::fade(a.data(), src.data(), n, level);
        rows::sse2::fade(b.data(), src.data(), n, level);
        compare("fade");
        rows::scalar::blend(a.data(), src.data(), dst.data(), n, level);
        rows::sse2::blend(b.data(), src.data(), dst.data(), n, level);
        compare("blend");
    }
    return faults;
#else
    std::fprintf(stderr, "rows: no SSE2 set in this build\n");
    return 1;
#endif
}

// Widths round the blocks of 4 and 8 pixels, bytes that sum past a byte.
int blurFaults()
{
    int faults = 0;
    std::uint32_t seed = 1;
    for (int width : {1, 3, 4, 7, 8, 9, 31, 512})
        for (int four = 0; four < 2; ++four) {
            Bitmap fast(width, 6), plain(width, 6);
            for (std::size_t i = 0; i < fast.pixelCount(); ++i)
                fast.pixels()[i] = plain.pixels()[i] = seed = seed * 1664525u + 1013904223u;
            if (four) {
                feedbackBlur4(fast);
                blurref::fourNeighbour(plain.pixels(), width, 6);
            } else {
                feedbackBlur(fast);
                blurref::threeNeighbour(plain.pixels(), width, 6);
            }
            if (!std::equal(fast.pixels(), fast.pixels() + fast.pixelCount(), plain.pixels())) {
                std::fprintf(stderr, "blur: %s neighbours, %d wide, differs from the plain loop\n",
                             four ? "four" : "three", width);
                ++faults;
            }
        }
    return faults;
}

// One pass through the module, 10 ms at a time: each step stays on its row,
// goes to the next, or starts the next order at row 0, through every order.
int musicFaults()
{
    constexpr int kRate = 44100, kStep = kRate / 100;
    const char* path = "data/cute5c.xm";
    std::string error;
    const std::optional<ModuleInfo> info = readModuleInfo(path, error);
    SourceOpener::Result opened = openModuleFile(path, kRate);
    if (!info || !opened.source) {
        std::fprintf(stderr, "music: %s did not open\n", path);
        return 1;
    }
    AudioSource& music = *opened.source;
    music.setLooping(false);
    std::vector<float> buffer(2 * kStep);
    std::uint32_t was = 0;
    int orders = 1;
    // At its end the module may already name its restart position.
    while (music.render(buffer.data(), kStep) == kStep && music.endCount() == 0) {
        const std::uint32_t now = music.position();
        const std::uint32_t order = now & 0xFFFF, row = now >> 16;
        const std::uint32_t wasOrder = was & 0xFFFF, wasRow = was >> 16;
        const bool inStep = (order == wasOrder && (row == wasRow || row == wasRow + 1)) ||
                            (order == wasOrder + 1 && row == 0);
        if (!inStep) {
            std::fprintf(stderr, "music: from order %u row %u to order %u row %u\n", wasOrder, wasRow, order, row);
            return 1;
        }
        orders += order != wasOrder;
        was = now;
    }
    if (orders != static_cast<int>(info->orders.size())) {
        std::fprintf(stderr, "music: %d of %zu orders played\n", orders, info->orders.size());
        return 1;
    }
    return 0;
}

// The parts in playing order (the star's "BONK" offset carries over), each
// up to its last frame in the table.
int goldenFaults(const std::string& goldenDir)
{
    const reference::HashTable table = reference::readHashes(goldenDir);
    if (table.empty()) {
        std::fprintf(stderr, "golden: no table in %s\n", goldenDir.c_str());
        return 1;
    }
    int faults = 0;
    std::size_t compared = 0;
    for (int part = 0; part < kShowPartCount; ++part) {
        const std::string prefix = std::string(kShowParts[part].name) + "_";
        auto frameOf = [](double seconds) { return static_cast<int>(std::lround(seconds / kPlaybackFrameSeconds)); };
        int last = -1;
        for (const auto& [name, hash] : table)
            if (name.compare(0, prefix.size(), prefix) == 0)
                last = std::max(last, frameOf(std::stod(name.substr(prefix.size()))));
        if (last < 0)
            continue;
        playShowPart(part, last, [&](int n, const Bitmap& frame) {
            char name[64];
            std::snprintf(name, sizeof name, "%s%.2f", prefix.c_str(), n * kPlaybackFrameSeconds);
            const auto it = table.find(name);
            if (it == table.end())
                return;
            ++compared;
            const std::uint32_t hash = reference::pixelHash(frame);
            if (hash != it->second) {
                std::fprintf(stderr, "golden: frame %s is %08x, not %08x\n", name, hash, it->second);
                ++faults;
            }
        });
    }
    if (compared != table.size()) {
        std::fprintf(stderr, "golden: %zu of %zu frames drawn\n", compared, table.size());
        ++faults;
    }
    return faults;
}

} // namespace
} // namespace zov

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: web_check GOLDEN_DIR (in the folder that holds data/)\n");
        return 2;
    }
    if (!std::filesystem::exists("data/cute5c.xm")) {
        std::fprintf(stderr, "no data kit in %s\n", std::filesystem::current_path().c_str());
        return 77;
    }
    const int faults = zov::rowFaults() + zov::blurFaults() + zov::musicFaults() + zov::goldenFaults(argv[1]);
    std::printf("web check: %d faults\n", faults);
    return faults == 0 ? 0 : 1;
}
