#pragma once

#include <cstdint>

namespace zov {

class Bitmap;
struct RasterTriangle;
struct Sprite;

// The drawing operations that the 3D pipeline and the effects call. Triangles
// go to numbered slots 0..16, each one fill (raster/FillTable.h says which);
// in this base every operation does nothing, so a driver draws only what it
// overrides.
//
// Triangle slots take (triangle, target, stamp): the stamp is added to every
// 1/z compared with or stored in a depth buffer (the pipeline passes its frame
// counter).
class RenderDriver {
public:
    RenderDriver() = default;
    RenderDriver(const RenderDriver&) = delete;
    RenderDriver& operator=(const RenderDriver&) = delete;
    virtual ~RenderDriver() = default;

    // Number of the triangle slots 0..16.
    static constexpr int kTriangleSlots = 17;

    // Draws triangle with the fill of slot `slot` (0..16), as the pipeline
    // does with the slot that a type code asks for; an empty slot or any
    // other number draws nothing.
    virtual void fillBySlot(int, RasterTriangle&, Bitmap&, int) {}
    virtual void drawSprite(const Sprite&, Bitmap&, int) {}
    virtual void setOption(std::uint8_t) {}
    virtual void clearDepth() {}
};

} // namespace zov
