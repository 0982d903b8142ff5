#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zov {

class Bitmap;

// Square glyphs cut from a 320 x 200 picture that holds them left to right,
// top to bottom, starting with the character code firstGlyph.
class BitmapFont {
public:
    static constexpr int kPictureWidth = 320;
    static constexpr int kPictureHeight = 200;
    static constexpr int kGlyphSlots = 256;
    static constexpr int kLastCode = 127;

    BitmapFont(int cellSize, int firstGlyph);
    ~BitmapFont();

    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;

    // Loads the picture through the first loader that accepts path
    // (announcing it) and cuts the glyphs firstGlyph to 127 from it; without
    // a picture they are blank.
    void load(const char* path);

    int cellSize() const { return cellSize_; }
    int firstGlyph() const { return firstGlyph_; }
    // cellSize x cellSize pixels, row by row; none outside 0..255.
    const std::uint32_t* glyph(int code) const;

private:
    void cutGlyphs();

    int cellSize_; // glyph width and height in pixels
    int firstGlyph_; // character code of the picture's first glyph
    std::vector<std::uint32_t> glyphs_; // kGlyphSlots glyphs
    std::unique_ptr<Bitmap> picture_;
};

} // namespace zov
