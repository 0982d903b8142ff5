#include "platform/PositionTimeline.h"

namespace zov {

void PositionTimeline::restart(std::uint32_t position, std::int64_t startFrame)
{
    restartPosition_.store(position, std::memory_order_relaxed);
    startFrame_.store(startFrame, std::memory_order_relaxed);
    count_.store(0, std::memory_order_release);
}

void PositionTimeline::publish(std::int64_t endFrame, std::uint32_t position)
{
    const std::uint64_t n = count_.load(std::memory_order_relaxed);
    Entry& e = entries_[n % kEntries];
    e.endFrame.store(endFrame, std::memory_order_relaxed);
    e.position.store(position, std::memory_order_relaxed);
    count_.store(n + 1, std::memory_order_release);
}

std::uint32_t PositionTimeline::positionAt(std::int64_t frame) const
{
    const std::uint64_t n = count_.load(std::memory_order_acquire);
    if (n == 0 || frame < startFrame_.load(std::memory_order_relaxed))
        return restartPosition_.load(std::memory_order_relaxed);
    // The oldest stretch that ends after frame holds it. Walk back from the
    // newest, leaving alone the entries the writer may be refilling now.
    constexpr std::uint64_t kReadable = kEntries - 16;
    const std::uint64_t oldest = n > kReadable ? n - kReadable : 0;
    std::uint32_t position = entries_[(n - 1) % kEntries].position.load(std::memory_order_relaxed);
    for (std::uint64_t i = n; i-- > oldest;) {
        const Entry& e = entries_[i % kEntries];
        if (e.endFrame.load(std::memory_order_relaxed) <= frame)
            break;
        position = e.position.load(std::memory_order_relaxed);
    }
    return position;
}

std::int64_t PositionTimeline::runStart(std::int64_t frame, std::uint32_t mask) const
{
    const std::uint64_t n = count_.load(std::memory_order_acquire);
    const std::int64_t start = startFrame_.load(std::memory_order_relaxed);
    if (n == 0 || frame < start)
        return start;
    constexpr std::uint64_t kReadable = kEntries - 16;
    const std::uint64_t oldest = n > kReadable ? n - kReadable : 0;
    auto endOf = [&](std::uint64_t i) { return entries_[i % kEntries].endFrame.load(std::memory_order_relaxed); };
    auto maskedOf = [&](std::uint64_t i) {
        return entries_[i % kEntries].position.load(std::memory_order_relaxed) & mask;
    };
    // The stretch holding frame, as positionAt finds it.
    std::uint64_t at = n - 1;
    while (at > oldest && endOf(at - 1) > frame)
        --at;
    const std::uint32_t wanted = maskedOf(at);
    while (at > oldest && maskedOf(at - 1) == wanted)
        --at;
    return at > 0 ? endOf(at - 1) : start;
}

} // namespace zov
