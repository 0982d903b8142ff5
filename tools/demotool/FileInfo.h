#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zov::tool {

// The kinds of file the show reads, told from their first bytes.
enum class FileKind { Lwob, Lwo2, Xm, Pcx, Jpeg, Unknown };
FileKind detectKind(const std::vector<std::uint8_t>& bytes);

// Each prints what it found in the file to out and returns true; or leaves
// out as it was and puts why the file cannot be read in problem.
bool describeLwob(const std::vector<std::uint8_t>& bytes, std::string& out, std::string& problem);
bool describeModule(const std::string& path, std::string& out, std::string& problem);
bool describePcx(const std::vector<std::uint8_t>& bytes, std::string& out, std::string& problem);
bool describeJpeg(const std::vector<std::uint8_t>& bytes, std::string& out, std::string& problem);

// "1 sample", "2 samples": the number and the noun, plural unless one.
inline std::string counted(long long n, const std::string& noun)
{
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

// Reads a whole file of at most maxBytes; false with the reason in problem.
bool readFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes,
                   std::string& problem);

} // namespace zov::tool
