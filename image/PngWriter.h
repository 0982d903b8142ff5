#pragma once

#include <string>

namespace zov {

class Bitmap;

// Writes a bitmap as an 8-bit RGB PNG (byte 3 is dropped), or RGBA with
// byte 3 as alpha. For frame captures, reference pictures, contact sheets and
// icons; the show itself reads no PNG. Returns false, with a line on standard
// error, when the file cannot be written.
bool writePng(const Bitmap& bitmap, const std::string& path, bool withAlpha = false);
// The same, with "cannot write PATH: REASON" in error instead of the line.
bool writePng(const Bitmap& bitmap, const std::string& path, std::string& error, bool withAlpha = false);

} // namespace zov
