#include "raster/RenderDriver.h"

namespace zov {

namespace {
using TriangleSlot = void (RenderDriver::*)(RasterTriangle&, Bitmap&, int);

constexpr TriangleSlot kSlots[RenderDriver::kTriangleSlots] = {
    &RenderDriver::reservedSlot0,
    &RenderDriver::fillFlat,
    &RenderDriver::fillTextured,
    &RenderDriver::reservedSlot3,
    &RenderDriver::fillTextureEnvAdd,
    &RenderDriver::fillTextureMasked,
    &RenderDriver::fillBumpEnv,
    &RenderDriver::reservedSlot7,
    &RenderDriver::reservedSlot8,
    &RenderDriver::reservedSlot9,
    &RenderDriver::fillPerspective,
    &RenderDriver::fillPerspectiveKeyed,
    &RenderDriver::fillPerspectiveNoDepth,
    &RenderDriver::fillPerspectiveFogNoDepth,
    &RenderDriver::fillPerspectiveFog,
    &RenderDriver::fillGouraudTextured,
    &RenderDriver::fillGouraud,
};
} // namespace

void RenderDriver::fillBySlot(int slot, RasterTriangle& triangle, Bitmap& target, int stamp)
{
    if (slot >= 0 && slot < kTriangleSlots)
        (this->*kSlots[slot])(triangle, target, stamp);
}

} // namespace zov
