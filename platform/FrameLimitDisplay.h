#pragma once

#include "platform/DisplayDriver.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zov {

// Wraps a display and ends the showing after a number of presented frames:
// closes the inner display, then calls `onLimit` (which the programs use to
// end with success). Frames presented after that are not shown.
class FrameLimitDisplay final : public DisplayDriver {
public:
    FrameLimitDisplay(std::unique_ptr<DisplayDriver> inner, std::int64_t limit, std::function<void()> onLimit);

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
    bool count(bool shown);

    std::unique_ptr<DisplayDriver> inner_;
    std::int64_t remaining_;
    std::function<void()> onLimit_;
};

} // namespace zov
