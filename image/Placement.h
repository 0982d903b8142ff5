#pragma once

#include <algorithm>
#include <cstdint>

namespace zov {

// Where a srcW x srcH rectangle put at (x, y) of a dstW x dstH one overlaps
// it: the first source column and row, the first destination column and row,
// and how many columns and rows are shared.
struct Placement {
    int srcX = 0;
    int srcY = 0;
    int dstX = 0;
    int dstY = 0;
    int cols = 0;
    int rows = 0;
};

// False when nothing overlaps. 64-bit sums so that far-off offsets cannot
// wrap around into the picture.
inline bool placeClipped(int srcW, int srcH, int dstW, int dstH, int x, int y, Placement& out)
{
    const std::int64_t skipX = std::max<std::int64_t>(-std::int64_t{x}, 0);
    const std::int64_t skipY = std::max<std::int64_t>(-std::int64_t{y}, 0);
    const std::int64_t overX = std::max<std::int64_t>(std::int64_t{x} + srcW - dstW, 0);
    const std::int64_t overY = std::max<std::int64_t>(std::int64_t{y} + srcH - dstH, 0);
    const std::int64_t cols = srcW - skipX - overX;
    const std::int64_t rows = srcH - skipY - overY;
    if (cols <= 0 || rows <= 0)
        return false;
    out.srcX = static_cast<int>(skipX);
    out.srcY = static_cast<int>(skipY);
    out.dstX = std::max(x, 0);
    out.dstY = std::max(y, 0);
    out.cols = static_cast<int>(cols);
    out.rows = static_cast<int>(rows);
    return true;
}

} // namespace zov
