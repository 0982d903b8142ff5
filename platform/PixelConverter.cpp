#include "platform/PixelConverter.h"

#include "image/Bitmap.h"

#include <cstring>

namespace zov {

namespace {

// Stores go through memcpy: the destination is any surface row, and a 16- or
// 24-bit row start need not be aligned for a wider store.
void store16(std::uint8_t* dest, std::uint32_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    std::memcpy(dest, &v, 2);
}

void copy32(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    std::memcpy(dest, src, static_cast<std::size_t>(count) * 4);
}

void swap32(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        const std::uint32_t out = ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
        std::memcpy(dest + 4 * i, &out, 4);
    }
}

void bgr24(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        dest[3 * i] = static_cast<std::uint8_t>(v);
        dest[3 * i + 1] = static_cast<std::uint8_t>(v >> 8);
        dest[3 * i + 2] = static_cast<std::uint8_t>(v >> 16);
    }
}

void rgb24(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        dest[3 * i] = static_cast<std::uint8_t>(v >> 16);
        dest[3 * i + 1] = static_cast<std::uint8_t>(v >> 8);
        dest[3 * i + 2] = static_cast<std::uint8_t>(v);
    }
}

// 16-bit formats: each channel keeps its top 5 (green 6 in 5-6-5) bits.
void rgb565(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        store16(dest + 2 * i, ((v >> 8) & 0xF800) | ((v >> 5) & 0x7E0) | ((v >> 3) & 0x1F));
    }
}

void bgr565(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        store16(dest + 2 * i, ((v & 0xF8) << 8) | ((v >> 5) & 0x7E0) | ((v >> 19) & 0x1F));
    }
}

void rgb555(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        store16(dest + 2 * i, ((v >> 9) & 0x7C00) | ((v >> 6) & 0x3E0) | ((v >> 3) & 0x1F));
    }
}

void bgr555(const std::uint32_t* src, std::uint8_t* dest, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = src[i];
        store16(dest + 2 * i, ((v & 0xF8) << 7) | ((v >> 6) & 0x3E0) | ((v >> 19) & 0x1F));
    }
}

struct ConverterEntry {
    ScreenFormat format;
    PixelConverter converter;
};

constexpr ConverterEntry kConverters[] = {
    {{32, 0xFF0000, 0xFF00, 0xFF}, copy32},
    {{32, 0xFF, 0xFF00, 0xFF0000}, swap32},
    {{24, 0xFF0000, 0xFF00, 0xFF}, bgr24},
    {{24, 0xFF, 0xFF00, 0xFF0000}, rgb24},
    {{16, 0xF800, 0x7E0, 0x1F}, rgb565},
    {{16, 0x1F, 0x7E0, 0xF800}, bgr565},
    {{16, 0x7C00, 0x3E0, 0x1F}, rgb555},
    {{16, 0x1F, 0x3E0, 0x7C00}, bgr555},
};

} // namespace

PixelConverter selectConverter(const ScreenFormat& format)
{
    for (const ConverterEntry& entry : kConverters) {
        const ScreenFormat& f = entry.format;
        if (f.bitsPerPixel == format.bitsPerPixel && f.redMask == format.redMask && f.greenMask == format.greenMask &&
            f.blueMask == format.blueMask)
            return entry.converter;
    }
    return nullptr;
}

void convertRows(const Bitmap& frame, PixelConverter converter, std::uint8_t* dest, int pitch)
{
    for (int y = 0; y < frame.height(); ++y)
        converter(frame.row(y), dest + static_cast<std::ptrdiff_t>(y) * pitch, frame.width());
}

} // namespace zov
