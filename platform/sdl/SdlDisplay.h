#pragma once

#include "platform/DisplayDriver.h"
#include "platform/KeyLatch.h"
#include "platform/PixelConverter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace zov {

struct SdlDisplayOptions {
    bool fullScreen = false;
    int scale = 1; // window client area = frame size times this
    bool vsync = false;
};

// The display over SDL2: a resizable window titled "ZOV" (demoplay) or the
// full screen (demoplayfs). The frame is converted row by row into a
// streaming texture and shown in the largest 4:3 area, with bars.
class SdlDisplay final : public DisplayDriver {
public:
    explicit SdlDisplay(SdlDisplayOptions options);
    ~SdlDisplay() override;

    bool present() override;
    bool presentBitmap(const Bitmap& bitmap) override;
    bool open(int width, int height, bool flag, int depth) override;
    bool reopen() override;
    bool keyHit() override { return keys_.take(); }
    KeyRecord lastKey() const override { return keys_.record(); }
    void close() override;
    Bitmap* frame() override { return frame_.get(); }
    std::uint32_t takeKey() override { return keys_.takeKey(); }
    bool waitForInput(int timeoutMs) override;
    Pacing pacing() const override { return pacing_; }

    // Applies one window-system event: key-downs, activation, closing,
    // uncovering.
    void handleEvent(const SDL_Event& event);
    // Runs when the user closes the window. The default closes the display,
    // stops SDL (and so the sound) and ends the process with status 0.
    void setCloseHandler(std::function<void()> handler) { onClose_ = std::move(handler); }

    bool active() const { return active_; }
    std::uint32_t textureFormat() const { return textureFormat_; }

private:
    bool openWindow();
    bool createWindow();
    bool createTexture();
    void pumpEvents();
    bool show(const Bitmap& bitmap);

    SdlDisplayOptions options_;
    std::unique_ptr<Bitmap> frame_;
    KeyLatch keys_;
    std::function<void()> onClose_;
    bool videoInitialised_ = false;
    bool active_ = true;
    bool exposed_ = false; // the window needs its picture again
    Pacing pacing_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::uint32_t textureFormat_ = 0;
    PixelConverter converter_ = nullptr;
};

// Whether SDL can open a window a person sees. False, with SDL's reason or
// the driver's name, when it cannot or would fall back to an off-screen or
// dummy driver (no DISPLAY): the show would play where nobody sees it and no
// key could end it.
bool probeGraphicalDisplay(std::string& reason);

// The Windows virtual-key code of an SDL key: letters, digits, Escape,
// Space, Enter, Tab, arrows, Page Up and Down, Home, End, comma, full stop,
// the square brackets and F1..F24; 0 for any other key.
std::uint32_t virtualKeyFromSdl(std::int32_t sdlKeycode);

// The converter for an SDL pixel format, or nullptr when the format is not
// one of the eight the converter table knows.
PixelConverter converterForSdlFormat(std::uint32_t sdlPixelFormat);

} // namespace zov
