#include "tools/demotool/FileInfo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zov::tool {

FileKind detectKind(const std::vector<std::uint8_t>& b)
{
    const auto startsWith = [&b](std::size_t at, const char* text) {
        const std::size_t n = std::strlen(text);
        return b.size() >= at + n && std::memcmp(b.data() + at, text, n) == 0;
    };
    if (startsWith(0, "FORM") && startsWith(8, "LWOB"))
        return FileKind::Lwob;
    if (startsWith(0, "FORM") && (startsWith(8, "LWO2") || startsWith(8, "LWLO")))
        return FileKind::Lwo2;
    if (startsWith(0, "Extended Module: "))
        return FileKind::Xm;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return FileKind::Jpeg;
    // Manufacturer 10, a known version, no or run-length coding.
    if (b.size() >= 4 && b[0] == 0x0A && (b[1] <= 5 && b[1] != 1) && b[2] <= 1 &&
        (b[3] == 1 || b[3] == 2 || b[3] == 4 || b[3] == 8))
        return FileKind::Pcx;
    return FileKind::Unknown;
}

bool readFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& problem)
{
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        problem = std::strerror(errno);
        return false;
    }
    bytes.clear();
    std::uint8_t chunk[1 << 16];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        if (bytes.size() + n > maxBytes) {
            problem = "larger than " + std::to_string(maxBytes >> 20) + " MB, more than any file of the show";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(file.get())) {
        problem = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace zov::tool
