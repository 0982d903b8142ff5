#pragma once

#include "platform/DisplayDriver.h"

#include <cstdint>

namespace zov {

// The display's key state: every key-down sets the pending flag (auto-repeat
// included) and remembers its virtual-key code; keyHit reports and clears it,
// so several presses between two frames count as one.
class KeyLatch {
public:
    void press(std::uint32_t virtualKey)
    {
        pending_ = true;
        lastKey_ = virtualKey;
    }

    bool take()
    {
        const bool was = pending_;
        pending_ = false;
        return was;
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
};

} // namespace zov
