#pragma once

#include "platform/DisplayDriver.h"

#include <memory>
#include <utility>

namespace zov {

// A display that hands every operation to the display it wraps, so that a
// wrapper (frame counting, a frame limit) overrides only what it adds to.
class WrappedDisplay : public DisplayDriver {
public:
    explicit WrappedDisplay(std::unique_ptr<DisplayDriver> inner) : owned_(std::move(inner)), inner_(owned_.get()) {}
    // Wraps a display it does not own.
    explicit WrappedDisplay(DisplayDriver& inner) : inner_(&inner) {}

    bool present() override
    {
        inner_->invertOnPresent = invertOnPresent;
        return inner_->present();
    }
    bool presentBitmap(const Bitmap& bitmap) override { return inner_->presentBitmap(bitmap); }
    bool open(int width, int height, bool flag, int depth) override { return inner_->open(width, height, flag, depth); }
    bool reopen() override { return inner_->reopen(); }
    void idle() override { inner_->idle(); }
    bool keyHit() override { return inner_->keyHit(); }
    KeyRecord lastKey() const override { return inner_->lastKey(); }
    void close() override { inner_->close(); }
    Bitmap* frame() override { return inner_->frame(); }
    bool hasKeyboard() const override { return inner_->hasKeyboard(); }
    std::uint32_t takeKey() override { return inner_->takeKey(); }
    bool waitForInput(int timeoutMs) override { return inner_->waitForInput(timeoutMs); }
    Pacing pacing() const override { return inner_->pacing(); }

protected:
    DisplayDriver& inner() { return *inner_; }

private:
    std::unique_ptr<DisplayDriver> owned_;
    DisplayDriver* inner_;
};

} // namespace zov
