#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Hand-assembled LWOB bytes for the reader's tests, malformed on purpose
// where a test says so.
namespace zov::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes u16s(std::initializer_list<int> values)
{
    Bytes b;
    for (int v : values) {
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        b.push_back(static_cast<std::uint8_t>(v));
    }
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

inline Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// NUL-terminated and padded to an even length.
inline Bytes name(const std::string& s)
{
    Bytes b = text(s);
    b.push_back(0);
    if (b.size() % 2 != 0)
        b.push_back(0);
    return b;
}

// Odd chunks get their pad byte.
inline Bytes chunk(const std::string& id, const Bytes& data)
{
    Bytes b = text(id) + u32(static_cast<std::uint32_t>(data.size())) + data;
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
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
