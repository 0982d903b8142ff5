#pragma once

#include "platform/DisplayDriver.h"
#include "platform/KeyLatch.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zov {

// The display on the page's canvas (id "zov-canvas", its pixels the frame's
// size; the page scales it to fill the window at 4:3). Every key pressed
// in the page, and every click or touch that reaches the page's window (the
// page keeps those on its own buttons), is a key press.
class WebDisplay final : public DisplayDriver {
public:
    WebDisplay();
    ~WebDisplay() override;

    WebDisplay(const WebDisplay&) = delete;
    WebDisplay& operator=(const WebDisplay&) = delete;

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;
    bool open(int width, int height, bool flag, int depth) override;
    bool reopen() override;
    bool keyHit() override { return keys_.take(); }
    KeyRecord lastKey() const override { return keys_.record(); }
    void close() override;
    Bitmap* frame() override { return frame_.get(); }

    // What a click or touch counts as: the mouse button's virtual key.
    static constexpr std::uint32_t kPointerKey = 0x01;
    void press(std::uint32_t virtualKey) { keys_.press(virtualKey); }

private:
    bool show(const Bitmap& bitmap);
    void listen(bool on);

    std::unique_ptr<Bitmap> frame_;
    std::vector<std::uint32_t> rgba_; // the canvas's bytes R, G, B, A
    KeyLatch keys_;
    bool listening_ = false;
};

} // namespace zov
