#include "engine3d/DepthSort.h"

#include "math/BitCast.h"
#include "raster/RasterTriangle.h"

#include <utility>

namespace zov {

DepthSorter::DepthSorter(int capacity)
    : capacity_(capacity), keys_(new std::uint32_t[static_cast<std::size_t>(capacity)]),
      keysSwap_(new std::uint32_t[static_cast<std::size_t>(capacity)]),
      swap_(new RasterTriangle*[static_cast<std::size_t>(capacity)])
{
}

float DepthSorter::key(const RasterTriangle& t)
{
    float sum = t.coords[8] + t.coords[7] + t.coords[6];
    if (sum <= 0.0f)
        sum = 0.0f; // also turns -0 into +0
    return t.blend == 1 ? -sum : sum;
}

void DepthSorter::sort(RasterTriangle** triangles, int n)
{
    if (n > capacity_)
        n = capacity_;
    std::uint32_t* keys = keys_.get();
    std::uint32_t* keysOut = keysSwap_.get();
    RasterTriangle** items = triangles;
    RasterTriangle** itemsOut = swap_.get();
    for (int i = 0; i < n; ++i)
        keys[i] = bitCast<std::uint32_t>(key(*triangles[i]));

    // Least significant byte first; within a pass larger digits go first and
    // equal digits keep their order, so the whole is a stable descending sort.
    for (int shift = 0; shift < 32; shift += 8) {
        int start[256] = {};
        for (int i = 0; i < n; ++i)
            ++start[(keys[i] >> shift) & 0xFF];
        int at = 0;
        for (int d = 255; d >= 0; --d) {
            const int c = start[d];
            start[d] = at;
            at += c;
        }
        for (int i = 0; i < n; ++i) {
            const int slot = start[(keys[i] >> shift) & 0xFF]++;
            keysOut[slot] = keys[i];
            itemsOut[slot] = items[i];
        }
        std::swap(keys, keysOut);
        std::swap(items, itemsOut);
    }
    // Four passes: the result is back in `triangles`.
}

} // namespace zov
