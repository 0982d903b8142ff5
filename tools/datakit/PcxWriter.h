#pragma once

#include "tools/datakit/PixelRect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zov {

class Bitmap;

// A 24-bit PCX file as the show's decoder reads it: the 128-byte header, then
// for every scanline its red, green and blue lines, run-length coded with runs
// of at most 63 and every byte of 0xC0 or more written as a run. Runs never
// cross a line, so other readers accept the file too.
std::vector<std::uint8_t> encodePcx(const PixelRect& pixels);
std::vector<std::uint8_t> encodePcx(const Bitmap& bitmap);
bool writePcx(const PixelRect& pixels, const std::string& path);
bool writePcx(const Bitmap& bitmap, const std::string& path);

} // namespace zov
