#pragma once

#include <cstddef>
#include <cstdint>

namespace zov {

class Bitmap;

enum class PcxDecodeResult {
    Complete,
    // The data ended early or ran past the last scanline; the picture is
    // still converted from what was decoded.
    Incomplete,
    // Nothing was read and the target is as it was.
    NotOpened,
};

// Decodes a 24-bit PCX file of fileWidth x fileHeight pixels into target:
// the 128-byte header is skipped unread, then for each scanline its red,
// green and blue lines, run-length coded, runs free to cross from one line
// into the next. scale false puts the file's top-left corner in target;
// scale true stretches it to target's size, nearest neighbour. Byte 3 is 0.
// A file that cannot be read, or whose header or data is wrong, is reported
// under its path (see Diagnostics.h), once.
PcxDecodeResult decodePcxFile(const char* path, Bitmap& target, int fileWidth, int fileHeight, bool scale);
// The same over the bytes of a whole file held in memory; reported under
// name, or not at all when name is null.
PcxDecodeResult decodePcxBytes(const std::uint8_t* bytes, std::size_t size, Bitmap& target, int fileWidth,
                               int fileHeight, bool scale, const char* name = nullptr);

} // namespace zov
