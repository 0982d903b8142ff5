#pragma once

#include <string>

namespace zov {

// Whether a file can be written at path, asked before the work that makes
// it: opens it for writing without cutting what it holds, and removes it
// again when it was not there before. False, with "cannot write PATH:
// REASON" in error, when it cannot.
bool checkOutputFile(const std::string& path, std::string& error);

} // namespace zov
