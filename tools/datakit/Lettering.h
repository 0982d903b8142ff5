#pragma once

#include "tools/datakit/Canvas.h"

#include <string_view>
#include <vector>

namespace zov::kit {

// Text from the kit's 8x8 font, set proportionally (each glyph trimmed to its
// ink plus one column; a space is 4 columns), in font pixels.
int textWidthUnits(std::string_view text);

// Coverage of the text at `scale` canvas pixels per font pixel, with `pad`
// empty pixels around it. Diagonals are smoothed (Scale2x three times) and
// the edges anti-aliased, so large lettering does not look blocky. The
// mask's row pad is the top of the font's cell.
Mask renderText(std::string_view text, float scale, int pad);

// Lettering that keeps the 8x8 blockiness (for small text and labels).
Mask renderBlockText(std::string_view text, int scale, int pad);

// How painted lettering (or any other coverage mask) looks.
struct LetterStyle {
    // Vertical ramp over the cap height: top, middle, bottom.
    Rgb top{1.0f, 1.0f, 1.0f};
    Rgb middle{0.8f, 0.8f, 0.8f};
    Rgb bottom{0.5f, 0.5f, 0.5f};
    // A chrome break: from the middle down the ramp restarts at `horizon`.
    bool chrome = false;
    Rgb horizon{0.3f, 0.2f, 0.1f};
    // Relief: blur radius of the height field (pixels) and light strength.
    int bevelRadius = 2;
    float bevel = 0.6f;
    float specular = 0.5f;
    // Dark outline around the ink (width in pixels, 0 for none).
    int outlineWidth = 0;
    Rgb outline{0.0f, 0.0f, 0.0f};
    // Added glow around the ink.
    int glowRadius = 0;
    float glowStrength = 0.0f;
    Rgb glow{0.0f, 0.0f, 0.0f};
    // Soft drop shadow, blended.
    int shadowOffset = 0;
    int shadowBlur = 0;
    float shadowStrength = 0.0f;
};

// Paints the coverage mask at (x, y). capTop and capHeight (mask rows) place
// the colour ramp.
void paintLetters(Canvas& canvas, const Mask& mask, int x, int y, float capTop, float capHeight,
                  const LetterStyle& style);

// renderText and paintLetters in one; returns the mask's width.
int drawText(Canvas& canvas, std::string_view text, int x, int y, float scale, const LetterStyle& style);
// As drawText, centred horizontally on cx.
void drawTextCentred(Canvas& canvas, std::string_view text, int cx, int y, float scale, const LetterStyle& style);

} // namespace zov::kit
