#pragma once

#include "platform/DisplayDriver.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zov {

// The display's key state: every key-down sets the pending flag (auto-repeat
// included) and remembers its virtual-key code; keyHit reports and clears it,
// so several presses between two frames count as one. The presses that have
// a code also queue up for takeKey, the oldest dropped once the queue is
// full.
class KeyLatch {
public:
    static constexpr std::size_t kQueued = 32;

    void press(std::uint32_t virtualKey)
    {
        pending_ = true;
        lastKey_ = virtualKey;
        if (virtualKey == 0)
            return;
        if (count_ == kQueued) {
            first_ = (first_ + 1) % kQueued;
            --count_;
        }
        queue_[(first_ + count_) % kQueued] = virtualKey;
        ++count_;
    }

    bool take()
    {
        const bool was = pending_;
        pending_ = false;
        return was;
    }

    std::uint32_t takeKey()
    {
        if (count_ == 0)
            return 0;
        const std::uint32_t key = queue_[first_];
        first_ = (first_ + 1) % kQueued;
        --count_;
        return key;
    }

    KeyRecord record() const
    {
        KeyRecord r{};
        r[0] = static_cast<std::uint8_t>(lastKey_ & 0xFF);
        return r;
    }

private:
    bool pending_ = false;
    std::uint32_t lastKey_ = 0;
    std::array<std::uint32_t, kQueued> queue_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace zov
