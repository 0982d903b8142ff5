#include "image/Bitmap.h"
#include "image/PixelRows.h"
#include "image/Placement.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>

// The copies, saturating adds, fades, masks and blends of whole bitmaps. A
// bitmap without storage takes part in nothing.
namespace zov {

namespace {

bool bothStored(const Bitmap& a, const Bitmap& b) { return a.hasStorage() && b.hasStorage(); }

bool place(const Bitmap& src, const Bitmap& dest, int x, int y, Placement& at)
{
    return bothStored(src, dest) && placeClipped(src.width(), src.height(), dest.width(), dest.height(), x, y, at);
}

// Placed rows that are whole rows of every bitmap involved lie end to end in
// each of them, so one long row covers them all and spares a call per row.
// Not onto the source itself: its rows, one apart, would become one row
// overlapping itself, which the row routines do not allow.
void mergeWholeRows(Placement& at, bool ontoItself, std::initializer_list<int> widths)
{
    if (ontoItself)
        return;
    for (int w : widths)
        if (at.cols != w)
            return;
    if (at.rows > std::numeric_limits<int>::max() / at.cols)
        return;
    at.cols *= at.rows;
    at.rows = 1;
}

std::size_t wholeRowPixels(const Bitmap& src, const Bitmap& dest)
{
    return static_cast<std::size_t>(src.width()) * static_cast<std::size_t>(std::min(src.height(), dest.height()));
}

} // namespace

void Bitmap::invert()
{
    if (hasStorage())
        rows::invert(pixels(), static_cast<int>(pixelCount()));
}

void Bitmap::blend(const Bitmap& a, const Bitmap& b, int factor)
{
    if (!hasStorage() || !a.hasStorage() || !b.hasStorage())
        return;
    const auto f = static_cast<std::uint32_t>(std::clamp(factor, 0, 255));
    // The three are meant to be one size; never read or write past the
    // smallest of them.
    const std::size_t n = std::min({pixelCount(), a.pixelCount(), b.pixelCount()});
    rows::blend(pixels(), a.pixels(), b.pixels(), static_cast<int>(n), f);
}

void Bitmap::copyTo(Bitmap& dest) const
{
    if (dest.width() != width()) {
        copyAt(dest, 0, 0);
        return;
    }
    if (!bothStored(*this, dest) || &dest == this)
        return;
    std::memcpy(dest.pixels(), pixels(), wholeRowPixels(*this, dest) * sizeof(std::uint32_t));
}

void Bitmap::copyAt(Bitmap& dest, int x, int y) const
{
    if (x == 0 && y == 0 && dest.width() == width()) {
        copyTo(dest);
        return;
    }
    Placement at;
    if (!place(*this, dest, x, y, at))
        return;
    for (int r = 0; r < at.rows; ++r)
        std::memmove(dest.row(at.dstY + r) + at.dstX, row(at.srcY + r) + at.srcX,
                     static_cast<std::size_t>(at.cols) * sizeof(std::uint32_t));
}

void Bitmap::addTo(Bitmap& dest) const
{
    if (dest.width() != width()) {
        addAt(dest, 0, 0);
        return;
    }
    if (bothStored(*this, dest))
        rows::add(dest.pixels(), pixels(), static_cast<int>(wholeRowPixels(*this, dest)));
}

void Bitmap::addAt(Bitmap& dest, int x, int y) const
{
    Placement at;
    if (!place(*this, dest, x, y, at))
        return;
    mergeWholeRows(at, &dest == this, {width(), dest.width()});
    for (int r = 0; r < at.rows; ++r)
        rows::add(dest.row(at.dstY + r) + at.dstX, row(at.srcY + r) + at.srcX, at.cols);
}

void Bitmap::fadeAt(Bitmap& dest, int x, int y, int level) const
{
    const auto k = static_cast<std::uint32_t>(level) & 0xFFu;
    Placement at;
    if (k == 0 || !place(*this, dest, x, y, at))
        return;
    mergeWholeRows(at, &dest == this, {width(), dest.width()});
    for (int r = 0; r < at.rows; ++r)
        rows::fade(dest.row(at.dstY + r) + at.dstX, row(at.srcY + r) + at.srcX, at.cols, k);
}

void Bitmap::maskAt(Bitmap& dest, int x, int y, const Bitmap& alphaMap) const
{
    if (!alphaMap.hasStorage())
        return;
    // The alpha map is meant to be this bitmap's size; only the part of the
    // source it covers is drawn, so it is never read past its end.
    const int w = std::min(width(), alphaMap.width());
    const int h = std::min(height(), alphaMap.height());
    Placement at;
    if (!bothStored(*this, dest) || !placeClipped(w, h, dest.width(), dest.height(), x, y, at))
        return;
    mergeWholeRows(at, &dest == this, {width(), alphaMap.width(), dest.width()});
    for (int r = 0; r < at.rows; ++r)
        rows::mask(dest.row(at.dstY + r) + at.dstX, row(at.srcY + r) + at.srcX,
                   alphaMap.row(at.srcY + r) + at.srcX, at.cols);
}

} // namespace zov
