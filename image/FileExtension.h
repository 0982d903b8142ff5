#pragma once

#include <cctype>
#include <cstring>

namespace zov {

// Whether the last three characters of path are tag, ignoring case. No dot
// is needed: "picjpg" ends in "jpg", "pic.jpeg" in "peg".
inline bool endsWithTag(const char* path, const char (&tag)[4])
{
    if (!path)
        return false;
    const std::size_t n = std::strlen(path);
    if (n < 3)
        return false;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(path[n - 3 + i])) !=
            std::toupper(static_cast<unsigned char>(tag[i])))
            return false;
    return true;
}

} // namespace zov
