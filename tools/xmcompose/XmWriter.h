#pragma once

#include "tools/xmcompose/XmModule.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zov {

// A module the format cannot hold, named with the field and the limit.
class XmError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws XmError for anything out of range.
void validateXm(const XmModule& module);

// The module as a version 0x0104 file, written the way FastTracker 2 writes
// it (tracker name and space padding) so players use FT2 replay and mixing.
std::vector<std::uint8_t> encodeXm(const XmModule& module);

// Writes the whole file or nothing useful: throws XmError on a bad module,
// returns false (with a message on stderr) when the file cannot be written.
bool writeXm(const XmModule& module, const std::string& path);

// Samples as stored: differences of consecutive frames, wrapping in the
// sample's own width; 16-bit values little-endian.
std::vector<std::uint8_t> deltaEncode(const std::vector<std::int16_t>& frames, bool sixteenBit);

// One pattern's packed cell data.
std::vector<std::uint8_t> packPattern(const XmPattern& pattern);

} // namespace zov
