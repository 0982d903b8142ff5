#pragma once

#include "platform/DisplayDriver.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zov {

class Clock;

// Wraps a display and reports frames per second once a second.
class FpsDisplay final : public DisplayDriver {
public:
    using Sink = std::function<void(const std::string& line)>;

    // The default sink writes to standard error.
    FpsDisplay(std::unique_ptr<DisplayDriver> inner, const Clock& clock, Sink sink = {});

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;
    bool open(int width, int height, bool flag, int depth) override { return inner_->open(width, height, flag, depth); }
    bool reopen() override { return inner_->reopen(); }
    void idle() override { inner_->idle(); }
    bool keyHit() override { return inner_->keyHit(); }
    KeyRecord lastKey() const override { return inner_->lastKey(); }
    void close() override { inner_->close(); }
    Bitmap* frame() override { return inner_->frame(); }
    bool hasKeyboard() const override { return inner_->hasKeyboard(); }

private:
    void count();

    std::unique_ptr<DisplayDriver> inner_;
    const Clock& clock_;
    Sink sink_;
    std::int64_t periodStart_ = -1;
    std::int64_t frames_ = 0;
};

} // namespace zov
