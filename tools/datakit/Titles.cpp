// Lettering pictures: the logo, the title line, the scroller, the greetings,
// the end picture and the font picture.
#include "tools/datakit/Font8x8.h"
#include "tools/datakit/Lettering.h"
#include "tools/datakit/Noise.h"
#include "tools/datakit/Pictures.h"
#include "tools/datakit/Scenery.h"
#include "tools/datakit/Shapes.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace zov::kit {

namespace {

LetterStyle goldStyle()
{
    LetterStyle s;
    s.top = hex(0xFFF6C8);
    s.middle = hex(0xF0B040);
    s.bottom = hex(0x9A4A10);
    s.bevelRadius = 3;
    s.bevel = 0.7f;
    s.specular = 0.6f;
    return s;
}

LetterStyle chromeStyle()
{
    LetterStyle s;
    s.chrome = true;
    s.top = hex(0x3060B0);
    s.middle = hex(0xE8F4FF);
    s.horizon = hex(0x5A3010);
    s.bottom = hex(0xF0C080);
    s.bevelRadius = 3;
    s.bevel = 0.55f;
    s.specular = 0.8f;
    return s;
}

// Paints onto a canvas that is `margin` wider on every side, then folds what
// lies beyond the edges back in, so a picture on black wraps without a seam.
Canvas foldWrapped(const Canvas& wide, int width, int height, int margin, bool horizontal)
{
    Canvas out(width, height);
    for (int y = 0; y < wide.height(); ++y)
        for (int x = 0; x < wide.width(); ++x) {
            int tx = x - margin;
            int ty = y - margin;
            if (horizontal) {
                tx = ((tx % width) + width) % width;
                if (ty < 0 || ty >= height)
                    continue;
            } else {
                ty = ((ty % height) + height) % height;
                if (tx < 0 || tx >= width)
                    continue;
            }
            out.at(tx, ty) = out.at(tx, ty) + wide.at(x, y);
        }
    return out;
}

// The kestrel seen from below, wings spread: signed distance in pixels from
// the emblem centred at the origin.
struct Feather {
    Vec2 root;
    Vec2 end;
};

constexpr Vec2 kShoulder{10.0f, -14.0f};
constexpr Vec2 kWrist{92.0f, -46.0f};
constexpr Vec2 kWingTip{200.0f, -32.0f};

// Overlapping flight feathers of the right wing: secondaries hang from the
// arm, primaries sweep out from the hand.
std::vector<Feather> feathers()
{
    constexpr int kCount = 16;
    std::vector<Feather> out;
    for (int i = 0; i < kCount; ++i) {
        const float t = static_cast<float>(i) / (kCount - 1);
        const Vec2 root = t < 0.5f ? kShoulder + (kWrist - kShoulder) * (t / 0.5f)
                                   : kWrist + (kWingTip - kWrist) * ((t - 0.5f) / 0.5f * 0.75f);
        const float angle = lerp(1.35f, 0.12f, std::pow(t, 1.2f));
        const float len = lerp(46.0f, 78.0f, std::sin(t * 2.6f));
        out.push_back({root, root + Vec2{std::cos(angle), std::sin(angle)} * len});
    }
    return out;
}

// The kestrel seen from below, wings spread: signed distance in pixels from
// the emblem centred at the origin.
float kestrelSdf(Vec2 p, const std::vector<Feather>& wing)
{
    const Vec2 q{std::fabs(p.x), p.y};
    // Body, head with a hooked beak, and a long tail that fans at its end.
    float d = sdEllipse(q, {0.0f, 4.0f}, 17.0f, 30.0f);
    d = smoothUnion(d, sdCircle(q, {0.0f, -32.0f}, 15.0f), 8.0f);
    d = smoothUnion(d, sdTaperedSegment(q, {0.0f, -30.0f}, {0.0f, -12.0f}, 5.0f, 1.5f), 3.0f);
    d = smoothUnion(d, sdTaperedSegment(q, {0.0f, 20.0f}, {14.0f, 84.0f}, 8.0f, 11.0f), 8.0f);
    d = smoothUnion(d, sdTaperedSegment(q, {0.0f, 20.0f}, {0.0f, 88.0f}, 8.0f, 12.0f), 8.0f);
    d = smoothUnion(d, sdTaperedSegment(q, kShoulder, kWrist, 14.0f, 10.0f), 8.0f);
    d = smoothUnion(d, sdTaperedSegment(q, kWrist, kWingTip, 10.0f, 3.0f), 6.0f);
    for (const Feather& f : wing)
        d = smoothUnion(d, sdTaperedSegment(q, f.root, f.end, 11.0f, 4.0f), 7.0f);
    return d;
}

// 1 along the grooves between neighbouring feathers and across the tail's
// dark band, 0 elsewhere.
float kestrelGrooves(Vec2 p, const std::vector<Feather>& wing)
{
    const Vec2 q{std::fabs(p.x), p.y};
    float first = 1e9f, second = 1e9f;
    for (const Feather& f : wing) {
        const float d = sdTaperedSegment(q, f.root, f.end, 11.0f, 4.0f);
        if (d < first) {
            second = first;
            first = d;
        } else if (d < second) {
            second = d;
        }
    }
    const float edge = std::min(sdTaperedSegment(q, kShoulder, kWrist, 14.0f, 10.0f),
                                sdTaperedSegment(q, kWrist, kWingTip, 10.0f, 3.0f));
    const float groove = (1.0f - smoothstep(0.5f, 2.5f, second - first)) * smoothstep(2.0f, 8.0f, edge);
    const float band = q.x < 24.0f ? std::exp(-std::pow((q.y - 74.0f) / 3.5f, 2.0f)) : 0.0f;
    const float eye = 1.0f - smoothstep(2.0f, 3.5f, length(q - Vec2{6.5f, -35.0f}));
    return std::max({groove, band, eye});
}

// The golden kestrel centred at `centre`, `scale` canvas pixels per emblem
// pixel, grooved between its feathers; returns its coverage.
Mask paintKestrel(Canvas& c, Vec2 centre, float scale)
{
    const std::vector<Feather> wing = feathers();
    const float toEmblem = 1.0f / scale;
    const Mask bird =
        maskFromSdf(c.width(), c.height(), [&](Vec2 p) { return kestrelSdf((p - centre) * toEmblem, wing) * scale; });
    LetterStyle birdStyle = goldStyle();
    birdStyle.bevelRadius = static_cast<int>(std::lround(4.0f * scale));
    birdStyle.glowRadius = static_cast<int>(std::lround(10.0f * scale));
    birdStyle.glowStrength = 0.5f;
    birdStyle.glow = hex(0xA04010);
    // The ramp runs from the head to the tail.
    paintLetters(c, bird, 0, 0, centre.y - 56.0f * scale, 150.0f * scale, birdStyle);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (bird.at(x, y) > 0.0f) {
                const Vec2 p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
                c.at(x, y) = c.at(x, y) * (1.0f - 0.6f * bird.at(x, y) * kestrelGrooves((p - centre) * toEmblem, wing));
            }
    return bird;
}

} // namespace

Canvas makeLogo()
{
    Canvas c(512, 256);
    // Centred on the visible 482 columns, which land in the middle of the frame.
    const int cx = 226;
    paintKestrel(c, Vec2{static_cast<float>(cx), 76.0f}, 1.0f);

    LetterStyle word = chromeStyle();
    word.glowRadius = 8;
    word.glowStrength = 0.45f;
    word.glow = hex(0x3070D0);
    drawTextCentred(c, "KESTREL", cx, 184, 7.0f, word);
    // Only the left 482 columns are ever seen: keep the rest black.
    for (int y = 0; y < 256; ++y)
        for (int x = 482; x < 512; ++x)
            c.at(x, y) = Rgb{};
    return c;
}

Canvas makeTitleLine()
{
    constexpr std::string_view kText = "KESTREL PRESENTS ZOV";
    Canvas c(271, 20);
    const float scale = std::min(16.0f / 8.0f, 263.0f / static_cast<float>(textWidthUnits(kText)));
    LetterStyle s = goldStyle();
    s.bevelRadius = 1;
    s.bevel = 0.45f;
    s.specular = 0.4f;
    s.glowRadius = 2;
    s.glowStrength = 0.35f;
    s.glow = hex(0xFF7020);
    const int capTop = static_cast<int>(std::lround((20.0f - 7.0f * scale) * 0.5f));
    drawTextCentred(c, kText, 135, capTop, scale, s);
    return c;
}

Canvas makeScroller()
{
    constexpr std::string_view kText = "KESTREL * ZOV * PURE CODE * ";
    constexpr int kWidth = 1024;
    constexpr int kHeight = 64;
    constexpr int kMargin = 32;
    // The strip holds the text once; its trailing space closes the loop with
    // the same gap as between the words, and the seam falls in that gap.
    const float units = static_cast<float>(textWidthUnits(kText));
    const float scale = static_cast<float>(kWidth) / units;
    LetterStyle s = chromeStyle();
    s.top = hex(0x60A0FF);
    // Cool below the chrome break too: the grid's warm trails cross the band,
    // and a gold lower half added onto them vanished into the glow.
    s.horizon = hex(0x103070);
    s.bottom = hex(0xA0E0FF);
    s.bevelRadius = 3;
    s.glowRadius = 5;
    s.glowStrength = 0.5f;
    s.glow = hex(0x2050C0);
    Canvas wide(kWidth + 2 * kMargin, kHeight + 2 * kMargin);
    const int capTop = static_cast<int>(std::lround((kHeight - 7.0f * scale) * 0.5f));
    drawText(wide, kText, kMargin + static_cast<int>(std::lround(2.5f * scale)), kMargin + capTop, scale, s);
    return foldWrapped(wide, kWidth, kHeight, kMargin, true);
}

Canvas makeGreets()
{
    static constexpr std::string_view kLines[] = {
        "GREETINGS TO", "SDL", "libopenmpt", "OpenMPT", "libjpeg-turbo", "the IJG", "libpng", "zlib",
        "GoogleTest", "Google Benchmark", "CMake", "GCC", "Debian", "the demoscene", "all sceners", "trackers",
        "pixel artists"};
    static const std::uint32_t kColours[][2] = {{0xFFF0A0, 0xE06010}, {0xB0F0FF, 0x2070E0}, {0xFFC0F0, 0xC02080},
                                                {0xD0FFB0, 0x30A020}};
    constexpr int kWidth = 256;
    constexpr int kHeight = 512;
    constexpr int kMargin = 24;
    constexpr int kCount = static_cast<int>(sizeof(kLines) / sizeof(kLines[0]));
    Canvas wide(kWidth + 2 * kMargin, kHeight + 2 * kMargin);
    const float pitch = static_cast<float>(kHeight) / kCount;
    for (int i = 0; i < kCount; ++i) {
        const bool header = i == 0;
        const float scale = header ? 2.5f : 2.0f;
        LetterStyle s;
        if (header) {
            s = chromeStyle();
        } else {
            const auto* pair = kColours[(i - 1) % 4];
            s.top = hex(pair[0]);
            s.middle = mix(hex(pair[0]), hex(pair[1]), 0.4f);
            s.bottom = hex(pair[1]);
            s.bevelRadius = 1;
            s.bevel = 0.45f;
            s.specular = 0.35f;
        }
        s.glowRadius = 3;
        s.glowStrength = 0.3f;
        s.glow = s.bottom;
        const float centreY = (static_cast<float>(i) + 0.5f) * pitch;
        const int top = static_cast<int>(std::lround(centreY - 3.5f * scale));
        drawTextCentred(wide, kLines[i], kMargin + kWidth / 2, kMargin + top, scale, s);
    }
    return foldWrapped(wide, kWidth, kHeight, kMargin, false);
}

Canvas makeFontSheet()
{
    Canvas c(320, 200);
    for (int g = 0; g <= kLastGlyph - kFirstGlyph; ++g) {
        const int cellX = (g % 40) * 8;
        const int cellY = (g / 40) * 8;
        for (int y = 0; y < 8; ++y) {
            // Warm white at the top of the cell to amber at the bottom.
            const Rgb colour = mix(hex(0xFFFCE0), hex(0xFF9C30), static_cast<float>(y) / 7.0f);
            for (int x = 0; x < 8; ++x)
                if (glyphPixel(kFirstGlyph + g, x, y))
                    c.at(cellX + x, cellY + y) = colour;
        }
    }
    return c;
}

Canvas makeEndPicture()
{
    constexpr int kW = 512;
    constexpr int kH = 384;
    Canvas c(kW, kH);
    // Dawn over the same wood the show began in.
    paintSky(c, hex(0x0A1438), hex(0x6A3A6A), hex(0xFFA050), 270.0f);
    addStars(c, 81, 0.004f, 0.6f, 120.0f);
    addGlow(c, 300.0f, 300.0f, 90.0f, Rgb{0.45f, 0.25f, 0.08f});
    const Mask sun = maskFromSdf(kW, kH, [](Vec2 p) { return sdCircle(p, {300.0f, 300.0f}, 34.0f); });
    paintMask(c, sun, 0, 0, hex(0xFFE8A0));
    paintMask(c, ridgeLayer(kW, kH, 292.0f, 36.0f, 120.0f, 82), 0, 0, hex(0x4A2A50));
    paintMask(c, pineLayer(kW, kH, 320.0f, 30.0f, 56.0f, 18.0f, 83), 0, 0, hex(0x241630));
    paintMask(c, pineLayer(kW, kH, 360.0f, 60.0f, 110.0f, 34.0f, 84), 0, 0, hex(0x0C0812));

    LetterStyle title = chromeStyle();
    title.shadowOffset = 5;
    title.shadowBlur = 4;
    title.shadowStrength = 0.6f;
    title.outlineWidth = 2;
    title.outline = hex(0x10081A);
    drawTextCentred(c, "THE END", 256, 70, 8.0f, title);

    LetterStyle small = goldStyle();
    small.bevelRadius = 1;
    small.bevel = 0.4f;
    small.outlineWidth = 1;
    small.outline = hex(0x180A14);
    small.shadowOffset = 2;
    small.shadowBlur = 1;
    small.shadowStrength = 0.6f;
    drawTextCentred(c, "ZOV by KESTREL", 256, 150, 2.5f, small);
    drawTextCentred(c, "thanks for watching", 256, 178, 2.0f, small);
    return c;
}

Icon makeIcon()
{
    constexpr int kSize = 256;
    constexpr float kMiddle = kSize * 0.5f;
    constexpr float kRadius = 118.0f;
    Icon icon{Canvas(kSize, kSize), Mask(kSize, kSize)};
    Canvas& c = icon.picture;
    // The dusk of the show's first part, in a disc.
    paintSky(c, hex(0x0A1438), hex(0x3A2A6A), hex(0xE08040), 200.0f);
    addStars(c, 85, 0.004f, 0.7f, 150.0f);
    addGlow(c, kMiddle, 210.0f, 70.0f, Rgb{0.5f, 0.25f, 0.05f});
    paintMask(c, pineLayer(kSize, kSize, 246.0f, 26.0f, 48.0f, 16.0f, 86), 0, 0, hex(0x0C0812));
    const Mask disc = maskFromSdf(kSize, kSize, [](Vec2 p) { return sdCircle(p, {kMiddle, kMiddle}, kRadius); });
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            c.at(x, y) = c.at(x, y) * disc.at(x, y);
    // The bird spreads its wings past the disc's rim.
    const Mask bird = paintKestrel(c, Vec2{kMiddle, 114.0f}, 0.52f);
    icon.alpha = disc;
    icon.alpha.unite(bird);
    return icon;
}

} // namespace zov::kit
