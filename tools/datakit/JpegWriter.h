#pragma once

#include <string>

namespace zov {

class Bitmap;

// A baseline JPEG (4:2:0, the library's defaults) of the bitmap's colour
// bytes. The same bitmap and quality always give the same bytes.
bool writeJpeg(const Bitmap& bitmap, const std::string& path, int quality = 90);

} // namespace zov
