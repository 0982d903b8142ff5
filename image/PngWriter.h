#pragma once

#include <string>

namespace zov {

class Bitmap;

// Writes a bitmap as an 8-bit RGB PNG (byte 3 is dropped). For frame
// captures, reference pictures and contact sheets; the show itself reads no
// PNG. Returns false, with a line on standard error, when the file cannot be
// written.
bool writePng(const Bitmap& bitmap, const std::string& path);

} // namespace zov
