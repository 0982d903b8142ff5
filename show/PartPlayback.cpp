#include "show/PartPlayback.h"

#include "effects/ObjectLayer.h"
#include "platform/Clock.h"
#include "platform/HeadlessDisplay.h"
#include "platform/ScriptedMusicPlayer.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "show/ShowSession.h"

namespace zov {

namespace {

constexpr std::int64_t kTicksPerSecond = 1'000'000;
constexpr std::int64_t kFrameTicks = 10'000;
static_assert(kFrameTicks == static_cast<std::int64_t>(kPlaybackFrameSeconds * kTicksPerSecond));

// Hands each frame of the part on as soon as the part has drawn it.
class Keeper final : public PartRenderer {
public:
    explicit Keeper(const std::function<void(int, const Bitmap&)>& keep) : keep_(keep) {}
    void renderPart(int, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time) override
    {
        part.render(frame, renderDriver, time);
        keep_(frames++, frame);
    }
    int frames = 0;

private:
    const std::function<void(int, const Bitmap&)>& keep_;
};

} // namespace

void playShowPart(int index, int lastFrame, const std::function<void(int, const Bitmap&)>& keep)
{
    if (index < 0 || index >= kShowPartCount)
        return;
    ManualClock clock(kTicksPerSecond);
    ScriptedMusicPlayer music(clock, kPlaybackRowsPerSecond);
    HeadlessDisplay display;
    Keeper keeper(keep);
    ShowOptions options;
    options.firstPart = index;
    options.partRenderer = &keeper;
    ShowSession show(display, music, clock, options);
    // Parts played one after another go on from the cues of the ones before.
    const float carried = ObjectLayer::bonkOffset();
    if (show.begin() != 0)
        return;
    ObjectLayer::setBonkOffset(carried);
    while (keeper.frames <= lastFrame && show.frame().drawn)
        clock.advanceTicks(kFrameTicks);
}

} // namespace zov
