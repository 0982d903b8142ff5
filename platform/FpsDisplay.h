#pragma once

#include "platform/WrappedDisplay.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zov {

class Clock;

// Wraps a display and reports frames per second once a second.
class FpsDisplay final : public WrappedDisplay {
public:
    using Sink = std::function<void(const std::string& line)>;

    // The default sink writes to standard error.
    FpsDisplay(std::unique_ptr<DisplayDriver> inner, const Clock& clock, Sink sink = {});

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;

private:
    void count();

    const Clock& clock_;
    Sink sink_;
    std::int64_t periodStart_ = -1;
    std::int64_t frames_ = 0;
};

} // namespace zov
