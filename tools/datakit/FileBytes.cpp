#include "tools/datakit/FileBytes.h"

#include <cstdio>

namespace zov {

bool writeFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace zov
