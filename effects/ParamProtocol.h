#pragma once

#include <cstdint>

namespace zov {

// The named-parameter protocol of effect layers. Keys are upper-case ASCII
// names compared case-insensitively, whole string against whole string. A
// layer tests every key it knows, in a fixed order, and ignores the rest.
// The value pointer is read as each key says:
//   file names  - the pointer itself (the string must outlive the layer);
//   integers    - the 32-bit word it points to (floats pass their 4 bytes);
//   functions   - a Vec3Function pointer (not copied, not owned);
//   flags       - the pointer's nullness, or the byte it points to.

bool isParamKey(const char* key, const char* name);

// Copy the 32-bit word at value; a null value leaves the target unchanged.
void readParamWord(const void* value, std::int32_t& target);
void readParamWord(const void* value, float& target);
// The byte at value as a flag; a null value leaves the target unchanged.
void readParamByte(const void* value, bool& target);

} // namespace zov
