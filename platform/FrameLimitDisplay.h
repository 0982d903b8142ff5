#pragma once

#include "platform/WrappedDisplay.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zov {

// Wraps a display and ends the showing after a number of presented frames:
// closes the inner display, then calls `onLimit` (which the programs use to
// end with success). Frames presented after that are not shown.
class FrameLimitDisplay final : public WrappedDisplay {
public:
    FrameLimitDisplay(std::unique_ptr<DisplayDriver> inner, std::int64_t limit, std::function<void()> onLimit);

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;

private:
    bool count(bool shown);

    std::int64_t remaining_;
    std::function<void()> onLimit_;
};

} // namespace zov
