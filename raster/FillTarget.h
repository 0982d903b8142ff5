#pragma once

#include <cstdint>

namespace zov {

// Where one fill call draws: the target's pixels and the driver's depth
// buffer, both width x height, and the call's stamp as the float that is
// added to 1/z.
struct FillTarget {
    std::uint32_t* pixels = nullptr;
    float* depth = nullptr;
    int width = 0;
    int height = 0;
    float stamp = 0.0f;
};

} // namespace zov
