#include "platform/HeadlessDisplay.h"
#include "platform/sdl/SdlDisplay.h"

#include "image/Bitmap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace zov;

namespace {

SDL_Event keyDown(SDL_Keycode sym, bool repeat = false)
{
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event windowEvent(Uint8 what)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

} // namespace

TEST(DisplayKeys, PressesBetweenTwoFramesAreOneHitAndTheLastKeyWins)
{
    SdlDisplay display({});
    EXPECT_FALSE(display.keyHit());
    EXPECT_EQ(display.lastKey(), KeyRecord{}); // byte 0 is 0 before any key

    display.handleEvent(keyDown(SDLK_a));
    display.handleEvent(keyDown(SDLK_ESCAPE));
    EXPECT_TRUE(display.keyHit());
    EXPECT_FALSE(display.keyHit());
    KeyRecord expected{};
    expected[0] = 0x1B;
    EXPECT_EQ(display.lastKey(), expected);

    // Auto-repeat counts, and so does a key with no virtual-key code.
    display.handleEvent(keyDown(SDLK_a, true));
    EXPECT_TRUE(display.keyHit());
    display.handleEvent(keyDown(SDLK_CAPSLOCK));
    EXPECT_TRUE(display.keyHit());
    EXPECT_EQ(display.lastKey()[0], 0);

    SDL_Event up = keyDown(SDLK_b);
    up.type = SDL_KEYUP;
    display.handleEvent(up);
    EXPECT_FALSE(display.keyHit());
}

TEST(DisplayKeys, PressesQueueUpInOrderApartFromTheHitTheOldestDroppedWhenFull)
{
    SdlDisplay display({});
    display.handleEvent(keyDown(SDLK_SPACE));
    display.handleEvent(keyDown(SDLK_CAPSLOCK)); // no code: not queued
    display.handleEvent(keyDown(SDLK_PERIOD, true));
    EXPECT_TRUE(display.keyHit());
    EXPECT_EQ(display.takeKey(), 0x20u);
    EXPECT_EQ(display.takeKey(), 0xBEu);
    EXPECT_EQ(display.takeKey(), 0u);
    for (std::size_t i = 0; i < KeyLatch::kQueued + 2; ++i)
        display.handleEvent(keyDown(static_cast<SDL_Keycode>(SDLK_a + i % 26)));
    EXPECT_EQ(display.takeKey(), static_cast<std::uint32_t>('C'));
}

TEST(DisplayKeys, VirtualKeyCodes)
{
    EXPECT_EQ(virtualKeyFromSdl(SDLK_a), 0x41u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_z), 0x5Au);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_0), 0x30u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_9), 0x39u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), 0x20u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), 0x0Du);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), 0x0Du);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 0x25u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), 0x26u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), 0x27u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F1), 0x70u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 0x7Bu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F13), 0x7Cu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_TAB), 0x09u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEUP), 0x21u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEDOWN), 0x22u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_END), 0x23u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_HOME), 0x24u);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_COMMA), 0xBCu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PERIOD), 0xBEu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFTBRACKET), 0xDBu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHTBRACKET), 0xDDu);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), 0u);
}

TEST(DisplayKeys, ClosingTheWindowRunsTheCloseHandlerAndFocusDecidesActivity)
{
    SdlDisplay display({true, 1, false});
    int closes = 0;
    display.setCloseHandler([&] { ++closes; });
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_FALSE(display.active());
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_TRUE(display.active());
    display.handleEvent(windowEvent(SDL_WINDOWEVENT_CLOSE));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    display.handleEvent(quit);
    EXPECT_EQ(closes, 2);
}

TEST(DisplayFormats, TextureFormatsMapToTheTable)
{
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_RGB888), selectConverter({32, 0xFF0000, 0xFF00, 0xFF}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_ARGB8888), selectConverter({32, 0xFF0000, 0xFF00, 0xFF}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_ABGR8888), selectConverter({32, 0xFF, 0xFF00, 0xFF0000}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_BGR24), selectConverter({24, 0xFF0000, 0xFF00, 0xFF}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_RGB24), selectConverter({24, 0xFF, 0xFF00, 0xFF0000}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_RGB565), selectConverter({16, 0xF800, 0x7E0, 0x1F}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_BGR565), selectConverter({16, 0x1F, 0x7E0, 0xF800}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_RGB555), selectConverter({16, 0x7C00, 0x3E0, 0x1F}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_BGR555), selectConverter({16, 0x1F, 0x3E0, 0x7C00}));
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_RGB332), nullptr);
    EXPECT_EQ(converterForSdlFormat(SDL_PIXELFORMAT_YV12), nullptr);
}

TEST(SdlDisplayOpen, OpensAndPresentsOnTheDummyVideoDriver)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SdlDisplay display({});
    ASSERT_TRUE(display.open(512, 384, true, 32));
    ASSERT_NE(display.frame(), nullptr);
    EXPECT_EQ(display.frame()->width(), 512);
    EXPECT_NE(converterForSdlFormat(display.textureFormat()), nullptr);
    display.frame()->fill(0x00123456);
    EXPECT_TRUE(display.present());
    Bitmap wrongSize(16, 16);
    EXPECT_FALSE(display.presentBitmap(wrongSize));
    // Opened again for the next show: the same window, blank.
    const Bitmap* frame = display.frame();
    ASSERT_TRUE(display.open(512, 384, true, 32));
    EXPECT_EQ(display.frame(), frame);
    EXPECT_EQ(display.frame()->pixel(7, 5), 0u);
    EXPECT_TRUE(display.reopen());
    EXPECT_TRUE(display.present());
    display.close();
    EXPECT_FALSE(display.present()); // closed: nothing to show into
}

TEST(HeadlessDisplay, KeepsTheFrameInMemoryAndHasNoKeyboard)
{
    HeadlessDisplay display;
    EXPECT_FALSE(display.present()); // not open
    ASSERT_TRUE(display.open(8, 4, true, 32));
    EXPECT_FALSE(display.hasKeyboard());
    EXPECT_FALSE(display.keyHit());
    std::uint32_t seen = 0;
    display.setPresentHook([&](const Bitmap& b) { seen = b.pixel(0, 0); });
    display.frame()->fill(0x01102030);
    display.invertOnPresent = true;
    EXPECT_TRUE(display.present());
    EXPECT_EQ(seen, 0x01EFDFCFu); // inverted in place, top byte kept
    EXPECT_EQ(display.frame()->pixel(7, 3), 0x01EFDFCFu);
    Bitmap other(8, 4);
    EXPECT_TRUE(display.presentBitmap(other));
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(display.presentCount(), 2);
}
