#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>

namespace zov {

std::uint32_t virtualKeyFromSdl(std::int32_t key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + static_cast<std::uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + static_cast<std::uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 0x70 + static_cast<std::uint32_t>(key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24)
        return 0x7C + static_cast<std::uint32_t>(key - SDLK_F13);
    switch (key) {
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_SPACE: return 0x20;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 0x0D;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_TAB: return 0x09;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_COMMA: return 0xBC;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_RIGHTBRACKET: return 0xDD;
    default: return 0;
    }
}

PixelConverter converterForSdlFormat(std::uint32_t sdlPixelFormat)
{
    int bits = 0;
    Uint32 red = 0, green = 0, blue = 0, alpha = 0;
    if (SDL_PixelFormatEnumToMasks(sdlPixelFormat, &bits, &red, &green, &blue, &alpha) != SDL_TRUE)
        return nullptr;
    // The bit count is the storage size: SDL counts XRGB8888 as 24 bits. A
    // texture's alpha is ignored because it is drawn without blending.
    const int storageBits = static_cast<int>(SDL_BYTESPERPIXEL(sdlPixelFormat)) * 8;
    return selectConverter(ScreenFormat{storageBits, red, green, blue});
}

} // namespace zov
