#include "platform/MusicTimeline.h"

#include <algorithm>

namespace zov {

bool MusicTimeline::extend(AudioSource& source, std::size_t blockFrames, std::int64_t frames)
{
    if (ended_ || blockFrames == 0)
        return false;
    if (stretches_.empty()) {
        startPosition_ = source.position();
        blockFrames_ = static_cast<std::int64_t>(blockFrames);
    }
    std::vector<float> scratch(2 * blockFrames);
    stretches_.reserve(stretches_.size() + static_cast<std::size_t>(frames) / blockFrames + 1);
    source.setDraft(true);
    const std::int64_t end = this->frames() + frames;
    for (std::int64_t done = this->frames(); done < end;) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(end - done, blockFrames));
        const std::size_t got = source.render(scratch.data(), want);
        done += static_cast<std::int64_t>(want);
        stretches_.push_back({done, source.position()});
        if (got < want) {
            ended_ = true;
            break;
        }
    }
    source.setDraft(false);
    return !ended_;
}

std::size_t MusicTimeline::indexAt(std::int64_t frame) const
{
    const auto it = std::upper_bound(stretches_.begin(), stretches_.end(), frame,
                                     [](std::int64_t f, const Stretch& s) { return f < s.endFrame; });
    return std::min(static_cast<std::size_t>(it - stretches_.begin()), stretches_.size() - 1);
}

std::uint32_t MusicTimeline::positionAt(std::int64_t frame) const
{
    if (stretches_.empty() || frame < 0)
        return startPosition_;
    return stretches_[indexAt(frame)].position;
}

std::int64_t MusicTimeline::runStart(std::int64_t frame, std::uint32_t mask) const
{
    if (stretches_.empty() || frame < 0)
        return 0;
    std::size_t at = indexAt(frame);
    const std::uint32_t wanted = stretches_[at].position & mask;
    while (at > 0 && (stretches_[at - 1].position & mask) == wanted)
        --at;
    return at > 0 ? stretches_[at - 1].endFrame : 0;
}

std::int64_t MusicTimeline::nextChange(std::int64_t from, std::uint32_t mask) const
{
    if (stretches_.empty())
        return 0;
    std::size_t at = indexAt(std::max<std::int64_t>(from, 0));
    const std::uint32_t wanted = stretches_[at].position & mask;
    while (at + 1 < stretches_.size() && (stretches_[at + 1].position & mask) == wanted)
        ++at;
    return at + 1 < stretches_.size() ? stretches_[at].endFrame : frames();
}

} // namespace zov
