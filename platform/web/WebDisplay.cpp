#include "platform/web/WebDisplay.h"

#include "image/Bitmap.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

namespace zov {

namespace {

// clang-format off
EM_JS(int, zovOpenCanvas, (int width, int height), {
    const canvas = document.getElementById("zov-canvas");
    if (!canvas)
        return 0;
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext("2d", {alpha: false});
    if (!context)
        return 0;
    Module.zovCanvas = {context: context, image: context.createImageData(width, height)};
    return 1;
});

// The frame's bytes straight into the canvas, unscaled: the page's style
// scales the canvas.
EM_JS(void, zovShowPixels, (const void* rgba, int bytes), {
    const canvas = Module.zovCanvas;
    canvas.image.data.set(HEAPU8.subarray(rgba, rgba + bytes));
    canvas.context.putImageData(canvas.image, 0, 0);
});
// clang-format on

EM_BOOL onKey(int, const EmscriptenKeyboardEvent* event, void* display)
{
    static_cast<WebDisplay*>(display)->press(static_cast<std::uint32_t>(event->keyCode));
    return EM_FALSE; // the browser keeps its own keys
}

EM_BOOL onMouse(int, const EmscriptenMouseEvent*, void* display)
{
    static_cast<WebDisplay*>(display)->press(WebDisplay::kPointerKey);
    return EM_FALSE;
}

// Taken whole, so that the browser sends no mouse press after it.
EM_BOOL onTouch(int, const EmscriptenTouchEvent*, void* display)
{
    static_cast<WebDisplay*>(display)->press(WebDisplay::kPointerKey);
    return EM_TRUE;
}

// Canvas bytes R, G, B, A = 255 of frame pixels 0x00RRGGBB: on this
// little-endian machine the word 0xFFBBGGRR.
void toCanvasPixels(const std::uint32_t* frame, std::uint32_t* rgba, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t v = frame[i];
        rgba[i] = 0xFF000000u | ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    }
}

} // namespace

WebDisplay::WebDisplay() = default;

WebDisplay::~WebDisplay()
{
    close();
}

bool WebDisplay::open(int width, int height, bool, int)
{
    if (width <= 0 || height <= 0)
        return false;
    frame_ = std::make_unique<Bitmap>(width, height);
    rgba_.assign(frame_->pixelCount(), 0);
    return reopen();
}

bool WebDisplay::reopen()
{
    if (!frame_)
        return false;
    if (!zovOpenCanvas(frame_->width(), frame_->height())) {
        std::fprintf(stderr, "cannot show the frame: the page has no canvas \"zov-canvas\"\n");
        return false;
    }
    listen(true);
    return true;
}

void WebDisplay::close()
{
    listen(false);
}

void WebDisplay::listen(bool on)
{
    if (on == listening_)
        return;
    listening_ = on;
    void* self = on ? this : nullptr;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, self, EM_FALSE, on ? onKey : nullptr);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, self, EM_FALSE, on ? onMouse : nullptr);
    emscripten_set_touchstart_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, self, EM_FALSE, on ? onTouch : nullptr);
}

bool WebDisplay::present()
{
    if (!frame_)
        return false;
    if (invertOnPresent)
        frame_->invert();
    return show(*frame_);
}

bool WebDisplay::presentBitmap(const Bitmap& bitmap)
{
    if (!frame_ || bitmap.width() != frame_->width() || bitmap.height() != frame_->height())
        return false;
    return show(bitmap);
}

bool WebDisplay::show(const Bitmap& bitmap)
{
    if (!listening_)
        return false;
    toCanvasPixels(bitmap.pixels(), rgba_.data(), rgba_.size());
    zovShowPixels(rgba_.data(), static_cast<int>(rgba_.size() * 4));
    return true;
}

} // namespace zov
