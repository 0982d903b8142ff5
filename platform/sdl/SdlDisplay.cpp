#include "platform/sdl/SdlDisplay.h"

#include "image/Bitmap.h"
#include "platform/sdl/QuietStderr.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zov {

namespace {

constexpr const char* kWindowName = "ZOV";

// A 512x384 full-screen mode when the screen offers one.
bool findExactMode(int width, int height, SDL_DisplayMode& found)
{
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            found = mode;
            return true;
        }
    }
    return false;
}

} // namespace

bool probeGraphicalDisplay(std::string& reason)
{
    bool initialised = false;
    {
        QuietStderr quiet;
        initialised = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (!initialised) {
        reason = SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool real = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
    if (!real)
        reason = std::string("only SDL's ") + (driver ? driver : "unnamed") + " video driver";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return real;
}

SdlDisplay::SdlDisplay(SdlDisplayOptions options) : options_(options)
{
    if (options_.scale < 1)
        options_.scale = 1;
    // At once, as the user asked: the show's objects and the sound threads
    // are not unwound, only SDL is stopped so that the screen mode returns.
    onClose_ = [this] {
        close();
        SDL_Quit();
        std::fflush(nullptr);
        std::_Exit(0);
    };
}

SdlDisplay::~SdlDisplay()
{
    close();
}

bool SdlDisplay::open(int width, int height, bool, int)
{
    if (width <= 0 || height <= 0)
        return false;
    // Opened again at the same size (the show played over): the window
    // stays where the viewer put it, blank for the next show. Tearing it
    // down and making it anew would flicker, and the X and GL libraries keep
    // a little of every connection they close.
    if (window_ && frame_ && frame_->width() == width && frame_->height() == height) {
        frame_->fill(0);
        return true;
    }
    if (window_)
        close();
    frame_ = std::make_unique<Bitmap>(width, height);
    return openWindow();
}

bool SdlDisplay::reopen()
{
    if (!frame_)
        return false;
    close();
    return openWindow();
}

bool SdlDisplay::openWindow()
{
    if (!videoInitialised_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "no display: %s\n", SDL_GetError());
            return false;
        }
        videoInitialised_ = true;
    }
    active_ = true;
    if (createWindow() && createTexture())
        return true;
    std::fprintf(stderr, "cannot show the frame: %s\n", SDL_GetError());
    return false;
}

bool SdlDisplay::createWindow()
{
    const int width = frame_->width();
    const int height = frame_->height();
    if (options_.fullScreen) {
        SDL_DisplayMode mode;
        if (findExactMode(width, height, mode)) {
            window_ = SDL_CreateWindow(kWindowName, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                       SDL_WINDOW_FULLSCREEN);
            if (window_)
                SDL_SetWindowDisplayMode(window_, &mode);
        } else {
            // Made at the desktop's size: without a window manager to
            // enlarge it, a smaller window would stay small.
            SDL_DisplayMode desktop;
            if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
                desktop.w = width;
                desktop.h = height;
            }
            window_ = SDL_CreateWindow(kWindowName, 0, 0, desktop.w, desktop.h, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        SDL_ShowCursor(SDL_DISABLE);
    } else {
        window_ = SDL_CreateWindow(kWindowName, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width * options_.scale,
                                   height * options_.scale, SDL_WINDOW_RESIZABLE);
    }
    if (!window_)
        return false;
    const Uint32 vsync = options_.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer_ = SDL_CreateRenderer(window_, -1, vsync);
    if (!renderer_)
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_)
        return false;
    pacing_ = {};
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0)
        pacing_.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0)
        pacing_.refreshHz = mode.refresh_rate;
    // The picture keeps 4:3 in whatever the window or screen is, with bars.
    SDL_RenderSetLogicalSize(renderer_, width, height);
    return true;
}

bool SdlDisplay::createTexture()
{
    // The first format the renderer takes natively that has a converter;
    // otherwise XRGB8888, which every renderer accepts.
    textureFormat_ = SDL_PIXELFORMAT_RGB888;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
        for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
            if (converterForSdlFormat(info.texture_formats[i])) {
                textureFormat_ = info.texture_formats[i];
                break;
            }
        }
    }
    converter_ = converterForSdlFormat(textureFormat_);
    if (!converter_)
        return false;
    texture_ = SDL_CreateTexture(renderer_, textureFormat_, SDL_TEXTUREACCESS_STREAMING, frame_->width(),
                                 frame_->height());
    if (!texture_)
        return false;
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    return true;
}

void SdlDisplay::close()
{
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_)
        SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    converter_ = nullptr;
    if (videoInitialised_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoInitialised_ = false;
    }
}

void SdlDisplay::handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        keys_.press(virtualKeyFromSdl(event.key.keysym.sym));
        break;
    case SDL_QUIT:
        if (onClose_)
            onClose_();
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (onClose_)
                onClose_();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: exposed_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED: active_ = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED: active_ = false; break;
        default: break;
        }
        break;
    default: break;
    }
}

void SdlDisplay::pumpEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(event);
}

bool SdlDisplay::waitForInput(int timeoutMs)
{
    if (!videoInitialised_) {
        SDL_Delay(static_cast<Uint32>(std::max(timeoutMs, 0)));
        return false;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeoutMs) != 0) {
        handleEvent(event);
        pumpEvents();
    }
    return std::exchange(exposed_, false);
}

bool SdlDisplay::present()
{
    if (!frame_)
        return false;
    if (invertOnPresent)
        frame_->invert();
    return show(*frame_);
}

bool SdlDisplay::presentBitmap(const Bitmap& bitmap)
{
    if (!frame_ || bitmap.width() != frame_->width() || bitmap.height() != frame_->height())
        return false;
    return show(bitmap);
}

bool SdlDisplay::show(const Bitmap& bitmap)
{
    pumpEvents();
    if (!texture_)
        return false;
    // A full-screen program that is not the active application draws
    // nothing and leaves the machine to the one that is.
    if (options_.fullScreen && !active_) {
        SDL_Delay(1);
        return true;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0)
        return false;
    convertRows(bitmap, converter_, static_cast<std::uint8_t*>(pixels), pitch);
    SDL_UnlockTexture(texture_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    return true;
}

} // namespace zov
