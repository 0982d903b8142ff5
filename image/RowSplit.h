#pragma once

#include <cstdint>

namespace zov::rows {

// A row of n pixels cut for a vector loop of Lanes pixels per step: the
// pixels before dst's first Lanes*4-byte boundary, whole steps, and the rest.
struct RowSplit {
    int head;
    int body;
    int tail;
};

template <int Lanes>
inline RowSplit splitRow(const std::uint32_t* dst, int n)
{
    if (n <= 0)
        return {0, 0, 0};
    const auto address = reinterpret_cast<std::uintptr_t>(dst);
    int head = static_cast<int>((Lanes - ((address >> 2) & (Lanes - 1))) & (Lanes - 1));
    // A pointer that is not even 4-byte aligned never reaches a boundary.
    if ((address & 3u) != 0 || head > n)
        head = n;
    const int body = (n - head) & ~(Lanes - 1);
    return {head, body, n - head - body};
}

} // namespace zov::rows
