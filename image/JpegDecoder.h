#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace zov {

// A decoded JPEG, cut to the room the caller has: pixels 0xFF000000 |
// (red << 16) | (green << 8) | blue, rows of `stride` pixels of which the
// first `width` hold the file's top-left corner.
struct JpegPicture {
    std::vector<std::uint32_t> pixels;
    int stride = 0;
    int width = 0;
    int height = 0;
    int fileWidth = 0;
    int fileHeight = 0;
};

// Decodes an open file and closes it. On a file the library cannot decode
// the reason is reported under name (see Diagnostics.h) and the result is
// none; the first warning is reported and decoding goes on. Greyscale files
// come out with red = green = blue. Only the top-left maxWidth x maxHeight
// part is kept.
std::optional<JpegPicture> decodeJpeg(std::FILE* file, int maxWidth, int maxHeight, const char* name = "JPEG");
// The same over a whole file held in memory.
std::optional<JpegPicture> decodeJpegBytes(const std::uint8_t* bytes, std::size_t size, int maxWidth,
                                           int maxHeight, const char* name = "JPEG");

// Decodes the file at path into a width x height destination. A file of
// another size is cropped to the destination's top-left corner; pixels it
// does not cover stay as they were. False, with the destination untouched,
// when the file cannot be decoded.
bool decodeJpegFile(const char* path, std::uint32_t* pixels, int width, int height);
// The same over a whole file held in memory, reported under name.
bool decodeJpegBytesInto(const std::uint8_t* bytes, std::size_t size, const char* name, std::uint32_t* pixels,
                         int width, int height);

// Called when a JPEG file cannot be opened or is a directory (a picture the
// show cannot go on without). The default reports the file and the reason
// and ends the process with status 1; if a replacement
// returns, the decode reports failure. Returns the previous handler.
using JpegOpenFailureHandler = void (*)(const char* path, int errorNumber);
JpegOpenFailureHandler setJpegOpenFailureHandler(JpegOpenFailureHandler handler);

} // namespace zov
