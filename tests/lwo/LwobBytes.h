#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Hand-assembled LWOB bytes, malformed on purpose where a test says so.
namespace zov::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

inline Bytes u16s(std::initializer_list<int> values)
{
    Bytes b;
    for (int v : values)
        b = b + Bytes{static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    return b;
}

inline Bytes u32(std::uint32_t v)
{
    return u16s({static_cast<int>(v >> 16), static_cast<int>(v & 0xFFFF)});
}

inline Bytes floats(std::initializer_list<float> values)
{
    Bytes b;
    for (float v : values)
        b = b + u32(std::bit_cast<std::uint32_t>(v));
    return b;
}

// NUL-terminated, padded to an even length.
inline Bytes name(const std::string& s)
{
    return text(s) + Bytes(s.size() % 2 == 0 ? 2 : 1, 0);
}

// With its pad byte when odd.
inline Bytes chunk(const std::string& id, const Bytes& data)
{
    return text(id) + u32(static_cast<std::uint32_t>(data.size())) + data + Bytes(data.size() % 2, 0);
}

inline Bytes subChunk(const std::string& id, const Bytes& data)
{
    return text(id) + u16s({static_cast<int>(data.size())}) + data;
}

inline Bytes lwob(const Bytes& chunks)
{
    return text("FORM") + u32(static_cast<std::uint32_t>(chunks.size() + 4)) + text("LWOB") + chunks;
}

} // namespace zov::test
