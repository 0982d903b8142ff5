// Golden frames: the show's parts rendered headless from the data kit's
// pictures, frame after frame on a hand-advanced clock with scripted music
// positions, and compared at chosen show times by a hash of their pixels with
// the table in golden/hashes.txt. A changed hash means changed output: look
// at the pictures, and when the change is intended regenerate table and
// pictures with
//   ZOV_UPDATE_REFERENCE=1 ./show_golden_test
// (writes tests/effects/golden/*.png and hashes.txt in the source tree). A
// frame that differs is written to the build's tests/golden_actual/.
#include "image/Bitmap.h"
#include "image/PngWriter.h"
#include "show/PartPlayback.h"
#include "show/ShowTable.h"
#include "tests/ReferenceHashes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(ZOV_SOURCE_DIR) / "tests/show/golden";
const fs::path kActualDir = fs::path(ZOV_BINARY_DIR) / "tests/golden_actual";

struct GoldenPart {
    int index;                     // in playing order
    std::vector<double> showTimes; // seconds, each a whole frame
};

// Every part in playing order, so that the fourth part's star starts where
// the second part's "BONK"s left it. The tunnel's star is sent "BONK" at 1 s
// (row 8): 1.05 s shows it a little after the jump.
const std::vector<GoldenPart>& goldenParts()
{
    static const std::vector<GoldenPart> parts = {
        {0, {0.5, 1.5, 3.0, 6.0}},
        {1, {0.5, 1.0, 1.05, 3.0}},
        {2, {0.0, 0.5, 2.0, 4.0}},
        {3, {0.25, 0.74, 0.75, 2.0}},
    };
    return parts;
}

int frameAt(double seconds) { return static_cast<int>(std::lround(seconds / kPlaybackFrameSeconds)); }

// Seconds as the frame's file name gives them: "greets_0.74".
std::string frameName(int part, int frame)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s_%.2f", kShowParts[part].name, frame * kPlaybackFrameSeconds);
    return name;
}

TEST(GoldenFrames, PartsMatchTheirHashes)
{
    const fs::path dataRoot = fs::path(ZOV_DATA_DIR).parent_path();
    if (!fs::exists(dataRoot / "data/bak1.jpg"))
        GTEST_SKIP() << "no data kit at " << dataRoot;
    const fs::path previous = fs::current_path();
    fs::current_path(dataRoot);

    const bool update = reference::updating();
    const reference::HashTable table = reference::readHashes(kGoldenDir.string());
    reference::HashTable fresh;
    // Reported once the parts' start-up lines are no longer captured.
    std::vector<std::string> failures;
    for (const GoldenPart& golden : goldenParts()) {
        testing::internal::CaptureStdout();
        playShowPart(golden.index, frameAt(golden.showTimes.back()), [&](int n, const Bitmap& frame) {
            bool wanted = false;
            for (double t : golden.showTimes)
                wanted = wanted || frameAt(t) == n;
            if (!wanted)
                return;
            const std::string name = frameName(golden.index, n);
            const std::uint32_t hash = reference::pixelHash(frame);
            fresh[name] = hash;
            if (update) {
                EXPECT_TRUE(writePng(frame, (kGoldenDir / (name + ".png")).string()));
                return;
            }
            const auto it = table.find(name);
            if (it == table.end()) {
                failures.push_back("no golden hash for " + name);
                return;
            }
            if (hash != it->second) {
                fs::create_directories(kActualDir);
                writePng(frame, (kActualDir / (name + ".png")).string());
                failures.push_back("frame " + name + " changed (now in " + kActualDir.string() +
                                   "); see the comment at the top of this file");
            }
        });
        testing::internal::GetCapturedStdout();
    }
    for (const std::string& failure : failures)
        ADD_FAILURE() << failure;
    if (update)
        reference::writeHashes(kGoldenDir.string(), fresh);
    fs::current_path(previous);
}

} // namespace
} // namespace zov
