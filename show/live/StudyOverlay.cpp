#include "show/live/StudyOverlay.h"

#include "image/Bitmap.h"
#include "show/BitmapFont.h"
#include "show/live/FrameTimes.h"

#include <algorithm>
#include <cstdio>

namespace zov {

namespace {

constexpr int kLeft = 8;
constexpr int kTop = 8;
constexpr int kPadding = 4;
constexpr int kLineHeight = 10;
constexpr int kGraphWidth = 240;
constexpr int kGraphHeight = 40;
constexpr std::int32_t kGraphMicros = 50'000; // the graph's top
constexpr std::int32_t kFrameMicros = 16'667;
constexpr std::uint32_t kGood = 0x40E040;
constexpr std::uint32_t kSlow = 0xF0C040;
constexpr std::uint32_t kLate = 0xF04040;
constexpr std::uint32_t kRule = 0x909090;

// Darkens a rectangle to a quarter, clipped to the picture.
void darken(Bitmap& picture, int x0, int y0, int width, int height)
{
    const int x1 = std::min(x0 + width, picture.width());
    const int y1 = std::min(y0 + height, picture.height());
    for (int y = std::max(y0, 0); y < y1; ++y) {
        std::uint32_t* row = picture.row(y);
        for (int x = std::max(x0, 0); x < x1; ++x)
            row[x] = (row[x] >> 2) & 0x3F3F3F;
    }
}

void drawText(Bitmap& picture, const BitmapFont& font, int x, int y, const char* text)
{
    const int size = font.cellSize();
    for (; *text != '\0'; ++text, x += size) {
        const std::uint32_t* glyph = font.glyph(static_cast<unsigned char>(*text));
        if (glyph == nullptr)
            continue;
        for (int gy = 0; gy < size; ++gy)
            for (int gx = 0; gx < size; ++gx)
                if (const std::uint32_t ink = glyph[gy * size + gx]; ink != 0)
                    picture.setPixel(x + gx, y + gy, ink);
    }
}

void drawGraph(Bitmap& picture, int x0, int bottom, const FrameTimes& times)
{
    const int bars = static_cast<int>(std::min<std::size_t>(times.count(), kGraphWidth));
    for (int i = 0; i < bars; ++i) {
        const std::int32_t micros = times.micros(static_cast<std::size_t>(i));
        const int height = static_cast<int>(std::min<std::int64_t>(
            (static_cast<std::int64_t>(micros) * kGraphHeight + kGraphMicros - 1) / kGraphMicros, kGraphHeight));
        const std::uint32_t colour = micros <= kFrameMicros + 500 ? kGood : micros <= 2 * kFrameMicros + 500 ? kSlow
                                                                                                            : kLate;
        const int x = x0 + kGraphWidth - 1 - i;
        for (int y = bottom - height; y < bottom; ++y)
            picture.setPixel(x, y, colour);
    }
    const int rule = bottom - kFrameMicros * kGraphHeight / kGraphMicros;
    for (int x = x0; x < x0 + kGraphWidth; x += 2)
        picture.setPixel(x, rule, kRule);
}

} // namespace

void drawStudyOverlay(Bitmap& picture, const BitmapFont& font, const OverlayFacts& facts, const FrameTimes& times)
{
    char lines[4][48];
    int count = 0;
    if (facts.part >= 0)
        std::snprintf(lines[count++], sizeof lines[0], "part %d  order %d  row %d", facts.part + 1, facts.order,
                      facts.row);
    else
        std::snprintf(lines[count++], sizeof lines[0], "end picture");
    std::snprintf(lines[count++], sizeof lines[0], "time %lld.%03lld s  frame %lld",
                  static_cast<long long>(facts.showMillis / 1000), static_cast<long long>(facts.showMillis % 1000),
                  static_cast<long long>(facts.frame));
    std::snprintf(lines[count++], sizeof lines[0], "%.1f fps%s%s", times.perSecond(),
                  facts.paused ? "  paused" : "", facts.looping ? "  loop" : "");
    if (facts.slowdown != 1)
        std::snprintf(lines[count++], sizeof lines[0], "1/%d speed, music %s", facts.slowdown,
                      facts.musicFollows ? "slowed" : "muted");

    const int textHeight = count * kLineHeight;
    darken(picture, kLeft, kTop, kGraphWidth + 2 * kPadding, textHeight + kGraphHeight + 3 * kPadding);
    for (int i = 0; i < count; ++i)
        drawText(picture, font, kLeft + kPadding, kTop + kPadding + i * kLineHeight, lines[i]);
    drawGraph(picture, kLeft + kPadding, kTop + 2 * kPadding + textHeight + kGraphHeight, times);
}

} // namespace zov
