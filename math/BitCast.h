#pragma once

#include <cstring>
#include <type_traits>

namespace zov {

// std::bit_cast, which the web build's C++ library (Emscripten 3.1.6's) does
// not have yet.
template <typename To, typename From> To bitCast(const From& from)
{
    static_assert(sizeof(To) == sizeof(From));
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

} // namespace zov
