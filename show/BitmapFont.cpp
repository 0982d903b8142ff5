#include "show/BitmapFont.h"

#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"

#include <algorithm>

namespace zov {

BitmapFont::BitmapFont(int cellSize, int firstGlyph)
    : cellSize_(std::clamp(cellSize, 1, kPictureHeight)), firstGlyph_(firstGlyph),
      glyphs_(static_cast<std::size_t>(cellSize_) * cellSize_ * kGlyphSlots, 0)
{
}

// The picture stays with the font: it is the font's source, and freeing it
// here would announce a release in the middle of the start-up lines.
BitmapFont::~BitmapFont() = default;

void BitmapFont::load(const char* path)
{
    picture_ = ImageLoaderRegistry().loadPicture(path, {kPictureWidth, kPictureHeight, false, true});
    cutGlyphs();
}

void BitmapFont::cutGlyphs()
{
    const int cellsPerRow = kPictureWidth / cellSize_;
    const std::size_t glyphPixels = static_cast<std::size_t>(cellSize_) * cellSize_;
    for (int g = 0; firstGlyph_ + g <= kLastCode; ++g) {
        const int code = firstGlyph_ + g;
        if (code < 0)
            continue;
        const int left = (g % cellsPerRow) * cellSize_;
        const int top = (g / cellsPerRow) * cellSize_;
        std::uint32_t* out = glyphs_.data() + static_cast<std::size_t>(code) * glyphPixels;
        // pixel() reads 0 outside the picture, so a cell past its bottom is
        // blank, as is every cell without a picture.
        for (int y = 0; y < cellSize_; ++y)
            for (int x = 0; x < cellSize_; ++x)
                *out++ = picture_ ? picture_->pixel(left + x, top + y) : 0;
    }
}

const std::uint32_t* BitmapFont::glyph(int code) const
{
    if (code < 0 || code >= kGlyphSlots)
        return nullptr;
    return glyphs_.data() + static_cast<std::size_t>(code) * cellSize_ * cellSize_;
}

} // namespace zov
