#pragma once

#include <cstdint>
#include <memory>

namespace zov {

struct RasterTriangle;

// Orders a frame's triangles for drawing: those with blend byte 1 first, then
// the rest, each group farthest first by the sum of its camera-space depths;
// equal sums keep their order. A stable radix sort on the key's float bits,
// one byte per pass, with scratch room for `capacity` triangles.
class DepthSorter {
public:
    explicit DepthSorter(int capacity);

    // Sorts triangles[0..n), n at most the capacity.
    void sort(RasterTriangle** triangles, int n);

    // z2 + z1 + z0 in float; a sum below 0 counts as +0; negated for blend 1.
    static float key(const RasterTriangle& t);

private:
    int capacity_;
    std::unique_ptr<std::uint32_t[]> keys_;
    std::unique_ptr<std::uint32_t[]> keysSwap_;
    std::unique_ptr<RasterTriangle*[]> swap_;
};

} // namespace zov
