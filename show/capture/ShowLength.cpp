#include "show/capture/ShowLength.h"

#include "platform/AudioLayer.h"
#include "platform/MusicPlayer.h"
#include "platform/OfflineAudioLayer.h"
#include "platform/openmpt/ModuleInfo.h"
#include "platform/sdl/FileSources.h"
#include "show/ShowTable.h"
#include "show/capture/LockstepShow.h"

#include <cmath>

namespace zov {

std::int64_t estimateShowFrames(FrameRate rate, std::int32_t startOrder)
{
    // The layer without the music player, which would print its loading
    // lines a second time.
    FileSourceOpener opener;
    OfflineAudioLayer audio(opener);
    if (!audio.init(-1, LockstepShow::kSampleRate))
        return 0;
    const AudioLayer::Handle music =
        audio.musicLoad(kShowMusicFile, AudioLayer::kMusicLoop | AudioLayer::kMusicRamp);
    if (music == 0 || !audio.musicPlayEx(music, modulePosition(startOrder, 0), AudioLayer::kKeepFlags, true))
        return 0;
    const auto limit = static_cast<std::int64_t>(rate.perSecond() * 1800.0);
    std::int64_t frame = 0;
    for (int loop = 0; loop < kShowPartCount && frame < limit;) {
        if (kShowParts[loop].leavesAt(positionOrder(audio.channelPosition(music)))) {
            ++loop;
            continue;
        }
        audio.step(static_cast<std::size_t>(LockstepShow::samplesBefore(frame + 1, rate) -
                                             LockstepShow::samplesBefore(frame, rate)));
        ++frame;
    }
    if (frame >= limit)
        return 0;
    return frame + static_cast<std::int64_t>(std::ceil(kEndPictureSeconds * rate.perSecond()));
}

} // namespace zov

namespace zov {

std::string checkStartOrder(std::int32_t startOrder)
{
    if (startOrder == 0)
        return {};
    std::string error;
    const std::optional<ModuleInfo> info = readModuleInfo(kShowMusicFile, error);
    if (!info)
        return std::string("cannot read ") + kShowMusicFile + ": " + error;
    const auto orders = static_cast<std::int32_t>(info->orders.size());
    if (startOrder >= orders)
        return "--start-order " + std::to_string(startOrder) + ": the music's orders are 0 to " +
               std::to_string(orders - 1);
    return {};
}

} // namespace zov
