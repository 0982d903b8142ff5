#pragma once

#include "tools/datakit/PixelRect.h"

#include <string>

namespace zov {

class Bitmap;

// A baseline JPEG (4:2:0, the library's defaults) of the colour bytes. The
// same pixels and quality always give the same bytes.
bool writeJpeg(const PixelRect& pixels, const std::string& path, int quality = 90);
bool writeJpeg(const Bitmap& bitmap, const std::string& path, int quality = 90);

} // namespace zov
