#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;

// What lastKey() returns: byte 0 a Windows virtual-key code, bytes 1..8 zero.
using KeyRecord = std::array<std::uint8_t, 9>;

// The display: owns the frame the show renders into, shows it, and records
// key presses. Back-ends: a window, the full screen, and headless (memory
// only). The operations keep this order.
class DisplayDriver {
public:
    virtual ~DisplayDriver() = default;

    // Inverts the frame first when invertOnPresent is set, then shows it.
    virtual bool present() = 0;
    // Shows another bitmap of the frame's size.
    virtual bool presentBitmap(const Bitmap& bitmap) = 0;
    // Creates the frame (width x height) and the window; flag and depth are
    // accepted and not used.
    virtual bool open(int width, int height, bool flag, int depth) = 0;
    virtual bool reopen() = 0;
    virtual void idle() {}
    // True once per pending key press; several presses between two calls
    // count as one.
    virtual bool keyHit() = 0;
    virtual KeyRecord lastKey() const = 0;
    virtual void close() = 0;
    virtual Bitmap* frame() = 0;

    // False for a display without a keyboard (headless): the show then runs
    // by the music alone and the end picture does not wait for a key.
    virtual bool hasKeyboard() const { return true; }

    // The key presses not taken yet, oldest first, one a call, as
    // virtual-key codes (keys without one are left out); 0 once none is
    // left. Apart from keyHit: a program that reads keys itself takes them
    // here.
    virtual std::uint32_t takeKey() { return 0; }
    // Sleeps until a window-system event arrives or timeoutMs pass, handling
    // the events; true when the picture has to be shown again (the window
    // was uncovered or resized). A display without events returns at once.
    virtual bool waitForInput(int /*timeoutMs*/) { return false; }

    // What the back-end knows of how presenting is paced: whether present
    // was set to wait for the screen's refresh (it may still not block), and
    // the refresh rate (0: unknown).
    struct Pacing {
        bool vsync = false;
        int refreshHz = 0;
    };
    virtual Pacing pacing() const { return {}; }

    bool invertOnPresent = false;
};

} // namespace zov
