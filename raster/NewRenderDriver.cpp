#include "raster/NewRenderDriver.h"

#include "image/Bitmap.h"
#include "image/ReleaseLines.h"
#include "raster/FillTable.h"
#include "raster/FillTarget.h"

#include <algorithm>
#include <cstdio>

namespace zov {

namespace {
std::size_t entryCount(int width, int height)
{
    return static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
}
} // namespace

NewRenderDriver::NewRenderDriver(const Bitmap& target)
    : depthBuffer_(new float[std::max<std::size_t>(entryCount(target.width(), target.height()), 1)]),
      width_(std::max(target.width(), 0)), height_(std::max(target.height(), 0))
{
    clearDepth();
}

NewRenderDriver::~NewRenderDriver()
{
    announceRelease("deleting a NewRenderDriver \n");
}

void NewRenderDriver::fillBySlot(int slot, RasterTriangle& triangle, Bitmap& target, int stamp)
{
    if (const fills::Routine fill = fills::routineFor(slot))
        (this->*fill)(triangle, target, stamp);
}

void NewRenderDriver::setOption(std::uint8_t value)
{
    optionByte_ = value;
}

void NewRenderDriver::clearDepth()
{
    std::fill_n(depthBuffer_.get(), entryCount(width_, height_), 0.0f);
}

bool NewRenderDriver::bindTarget(Bitmap& target, int stamp, FillTarget& out)
{
    if (target.width() != width_ || target.height() != height_ || !target.hasStorage() || width_ == 0 ||
        height_ == 0)
        return false;
    out.pixels = target.pixels();
    out.depth = depthBuffer_.get();
    out.width = width_;
    out.height = height_;
    out.stamp = static_cast<float>(stamp);
    return true;
}

} // namespace zov
