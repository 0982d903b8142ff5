#include "raster/NewRenderDriver.h"

#include "image/Bitmap.h"

#include <cstdio>

namespace zov {

NewRenderDriver::NewRenderDriver(const Bitmap& target) : width_(target.width()), height_(target.height()) {}

NewRenderDriver::~NewRenderDriver()
{
    std::fputs("deleting a NewRenderDriver \n", stdout);
}

} // namespace zov
