#include "tools/datakit/PixelRect.h"

#include "image/Bitmap.h"

namespace zov {

PixelRect pixelRectOf(const Bitmap& bitmap)
{
    return {bitmap.pixels(), bitmap.width(), bitmap.height()};
}

} // namespace zov
