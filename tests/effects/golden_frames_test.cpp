// Golden frames: the show's parts rendered headless from the data kit's
// pictures, frame after frame on a hand-advanced clock with scripted music
// positions, and compared at chosen show times by a hash of their pixels with
// the table in golden/hashes.txt. A changed hash means changed output: look
// at the pictures, and when the change is intended regenerate table and
// pictures with
//   ZOV_UPDATE_REFERENCE=1 ./effects_golden_test
// (writes tests/effects/golden/*.png and hashes.txt in the source tree). A
// frame that differs is written to the build's tests/golden_actual/.
#include "effects/EffectLayer.h"
#include "effects/ShowFactories.h"
#include "image/Bitmap.h"
#include "image/PngWriter.h"
#include "platform/Clock.h"
#include "raster/NewRenderDriver.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(ZOV_SOURCE_DIR) / "tests/effects/golden";
const fs::path kActualDir = fs::path(ZOV_BINARY_DIR) / "tests/golden_actual";
constexpr std::int64_t kTicksPerSecond = 1'000'000;
constexpr std::int64_t kFrameTicks = 10'000; // 10 ms of show time per frame
// Scripted music: 125 BPM at speed 6 is 8 rows a second from order 0, row 0.
constexpr int kRowsPerSecond = 8;
constexpr int kRowsPerPattern = 64;

struct GoldenPart {
    const char* name;
    std::unique_ptr<Part> (*factory)(int, int);
    int bonkLayer;                  // the layer that gets "BONK" on every eighth row, or -1
    std::vector<int> captureFrames; // frame n is show time n x 10 ms
};

// Seconds as the frame's file name gives them: "greets_0.74".
std::string frameName(const GoldenPart& part, int frame)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s_%.2f", part.name, frame * static_cast<double>(kFrameTicks) / kTicksPerSecond);
    return name;
}

std::uint32_t pixelHash(const Bitmap& b)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        for (int k = 0; k < 4; ++k) {
            h ^= (b.pixels()[i] >> (8 * k)) & 0xFFu;
            h *= 16777619u;
        }
    return h;
}

// Renders the part from show time 0 to its last capture, frame by frame, and
// hands each captured frame to keep.
template <typename Keep> void playPart(const GoldenPart& golden, Keep keep)
{
    ManualClock clock(kTicksPerSecond);
    Bitmap size;
    size.setSize(512, 384);
    NewRenderDriver driver(size);
    PartList list(512, 384, 32, 1, driver, clock);
    auto part = golden.factory(512, 384);
    list.addPart(part.get());
    Bitmap frame(512, 384);
    list.initAll(frame);
    list.startClock();
    int lastBonkRow = -1;
    for (int n = 0; n <= golden.captureFrames.back(); ++n, clock.advanceTicks(kFrameTicks)) {
        const int row = static_cast<int>(n * kFrameTicks * kRowsPerSecond / kTicksPerSecond) % kRowsPerPattern;
        if (golden.bonkLayer >= 0 && row % 8 == 0 && row != lastBonkRow) {
            if (EffectLayer* layer = part->layer(golden.bonkLayer))
                layer->setParam("BONK", nullptr);
            lastBonkRow = row;
        }
        list.renderPart(0, frame);
        for (int capture : golden.captureFrames)
            if (capture == n)
                keep(frameName(golden, n), frame);
    }
}

const std::vector<GoldenPart>& goldenParts()
{
    static const std::vector<GoldenPart> parts = {
        {"scroller", makeScrollerPart, -1, {0, 50, 200, 400}},
        {"greets", makeGreetsPart, -1, {25, 74, 75}},
    };
    return parts;
}

std::map<std::string, std::uint32_t> readTable()
{
    std::map<std::string, std::uint32_t> table;
    std::ifstream in(kGoldenDir / "hashes.txt");
    std::string name, hash;
    while (in >> name >> hash)
        table[name] = static_cast<std::uint32_t>(std::stoul(hash, nullptr, 16));
    return table;
}

TEST(GoldenFrames, PartsMatchTheirHashes)
{
    const fs::path dataRoot = fs::path(ZOV_DATA_DIR).parent_path();
    if (!fs::exists(dataRoot / "data/bak1.jpg"))
        GTEST_SKIP() << "no data kit at " << dataRoot;
    const fs::path previous = fs::current_path();
    fs::current_path(dataRoot);

    const bool update = std::getenv("ZOV_UPDATE_REFERENCE") != nullptr;
    const std::map<std::string, std::uint32_t> table = readTable();
    std::ostringstream fresh;
    for (const GoldenPart& golden : goldenParts()) {
        testing::internal::CaptureStdout();
        playPart(golden, [&](const std::string& name, const Bitmap& frame) {
            const std::uint32_t hash = pixelHash(frame);
            char line[96];
            std::snprintf(line, sizeof line, "%s %08x\n", name.c_str(), hash);
            fresh << line;
            if (update) {
                EXPECT_TRUE(writePng(frame, (kGoldenDir / (name + ".png")).string()));
                return;
            }
            const auto it = table.find(name);
            if (it == table.end()) {
                ADD_FAILURE() << "no golden hash for " << name;
                return;
            }
            if (hash != it->second) {
                fs::create_directories(kActualDir);
                writePng(frame, (kActualDir / (name + ".png")).string());
                ADD_FAILURE() << "frame " << name << " changed (now in " << kActualDir.string()
                              << "); see the comment at the top of this file";
            }
        });
        testing::internal::GetCapturedStdout();
    }
    if (update) {
        std::ofstream out(kGoldenDir / "hashes.txt");
        out << fresh.str();
    }
    fs::current_path(previous);
}

} // namespace
} // namespace zov
