#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zov {

// Writes bytes to path; false, with the reason on stderr, when it cannot.
bool writeFileBytes(const std::vector<std::uint8_t>& bytes, const std::string& path);

} // namespace zov
