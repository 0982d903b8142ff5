#pragma once

#include "math/BitCast.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zov {

// Big-endian reads over a span of file bytes. Callers check fits() first;
// a read past the end still gives zeros and stays inside the span, so a
// missed check cannot become an overread.
class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const std::uint8_t* bytes, std::size_t size) : at_(bytes), end_(bytes + size) {}

    std::size_t remaining() const { return static_cast<std::size_t>(end_ - at_); }
    bool fits(std::uint64_t n) const { return n <= remaining(); }

    std::uint8_t u8() { return at_ < end_ ? *at_++ : 0; }
    std::uint16_t u16()
    {
        const std::uint16_t hi = u8();
        return static_cast<std::uint16_t>(hi << 8 | u8());
    }
    std::uint32_t u32()
    {
        const std::uint32_t hi = u16();
        return hi << 16 | u16();
    }
    float f32() { return bitCast<float>(u32()); }
    // A four-byte identifier, NUL-terminated.
    void id(char (&out)[5])
    {
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<char>(u8());
        out[4] = '\0';
    }

    void skip(std::uint64_t n) { at_ += static_cast<std::size_t>(std::min<std::uint64_t>(n, remaining())); }
    // The next n bytes (fewer at the end) as a span of their own; this
    // cursor moves past them.
    ByteCursor take(std::uint64_t n)
    {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(n, remaining()));
        ByteCursor part(at_, size);
        at_ += size;
        return part;
    }

    // A NUL-terminated string, the terminator consumed; without one it runs
    // to the end of the span. At most maxKept bytes are kept, all are read.
    std::string string(std::size_t maxKept)
    {
        const std::uint8_t* nul = std::find(at_, end_, std::uint8_t{0});
        const std::size_t length = static_cast<std::size_t>(nul - at_);
        std::string s(reinterpret_cast<const char*>(at_), std::min(length, maxKept));
        at_ = nul == end_ ? end_ : nul + 1;
        return s;
    }

private:
    const std::uint8_t* at_ = nullptr;
    const std::uint8_t* end_ = nullptr;
};

} // namespace zov
