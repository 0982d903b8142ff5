#pragma once

#include "platform/DisplayDriver.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zov {

// A display without window or keyboard: the frame lives in memory only.
// Tests, benchmarks and capture run the show on it.
class HeadlessDisplay final : public DisplayDriver {
public:
    // Called with every presented bitmap, e.g. to save captures.
    using PresentHook = std::function<void(const Bitmap&)>;

    HeadlessDisplay();
    ~HeadlessDisplay() override;

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;
    bool open(int width, int height, bool flag, int depth) override;
    bool reopen() override;
    bool keyHit() override { return false; }
    KeyRecord lastKey() const override { return KeyRecord{}; }
    void close() override {}
    Bitmap* frame() override { return frame_.get(); }
    bool hasKeyboard() const override { return false; }

    void setPresentHook(PresentHook hook) { hook_ = std::move(hook); }
    std::int64_t presentCount() const { return presents_; }

private:
    std::unique_ptr<Bitmap> frame_;
    PresentHook hook_;
    std::int64_t presents_ = 0;
};

} // namespace zov
