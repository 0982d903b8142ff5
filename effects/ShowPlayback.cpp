#include "effects/ShowPlayback.h"

#include "effects/EffectLayer.h"
#include "effects/ShowFactories.h"
#include "image/Bitmap.h"
#include "platform/Clock.h"
#include "raster/NewRenderDriver.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "runtime/ShowConstants.h"

#include <cstring>
#include <memory>

namespace zov {

namespace {

constexpr std::int64_t kTicksPerSecond = 1'000'000;
constexpr std::int64_t kFrameTicks = 10'000;
static_assert(kFrameTicks == static_cast<std::int64_t>(kPlaybackFrameSeconds * kTicksPerSecond));
constexpr int kRowsPerPattern = 64;
constexpr int kTunnelPart = 1;
constexpr int kStarLayer = 1; // of the tunnel part

struct ShowPartEntry {
    const char* name;
    std::unique_ptr<Part> (*factory)(int, int);
};
constexpr ShowPartEntry kParts[kShowPartCount] = {
    {"slide", makeSlidePart}, {"tunnel", makeTunnelPart}, {"scroller", makeScrollerPart}, {"greets", makeGreetsPart}};

} // namespace

const char* showPartName(int index)
{
    return index >= 0 && index < kShowPartCount ? kParts[index].name : nullptr;
}

int showPartIndex(const char* name)
{
    for (int i = 0; i < kShowPartCount; ++i)
        if (name != nullptr && std::strcmp(name, kParts[i].name) == 0)
            return i;
    return -1;
}

void playShowPart(int index, int lastFrame, const std::function<void(int, const Bitmap&)>& keep)
{
    if (index < 0 || index >= kShowPartCount)
        return;
    ManualClock clock(kTicksPerSecond);
    Bitmap size;
    size.setSize(kScreenWidth, kScreenHeight);
    NewRenderDriver driver(size);
    PartList list(kScreenWidth, kScreenHeight, kColourDepth, kDisplayFlag, driver, clock);
    std::unique_ptr<Part> part = kParts[index].factory(kScreenWidth, kScreenHeight);
    list.addPart(part.get());
    Bitmap frame(kScreenWidth, kScreenHeight);
    list.initAll(frame);
    list.startClock();
    int lastBonkRow = -1;
    for (int n = 0; n <= lastFrame; ++n, clock.advanceTicks(kFrameTicks)) {
        const auto row =
            static_cast<int>(n * kFrameTicks * kPlaybackRowsPerSecond / kTicksPerSecond % kRowsPerPattern);
        if (index == kTunnelPart && row % 8 == 0 && row != lastBonkRow) {
            if (EffectLayer* star = part->layer(kStarLayer))
                star->setParam("BONK", nullptr);
            lastBonkRow = row;
        }
        list.renderPart(0, frame);
        keep(n, frame);
    }
}

} // namespace zov
