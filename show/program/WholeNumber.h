#pragma once

#include <charconv>
#include <string>

namespace zov {

// The whole of text as a whole number from low to high into out; false (out
// unchanged) for anything else: signs and spaces around it, other characters,
// values out of range.
inline bool parseWholeNumber(const std::string& text, int low, int high, int& out)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

} // namespace zov
