#pragma once

#include <cstdint>

namespace zov {

class Bitmap;
struct RasterTriangle;
struct Sprite;

// The table of drawing operations that the 3D pipeline and the effects call.
// The order of the virtual operations below is the slot order (0..20) and is
// part of the interface; in this base every slot does nothing, so a derived
// driver fills only the slots it draws.
//
// Triangle slots take (triangle, target, stamp): the stamp is added to every
// 1/z compared with or stored in a depth buffer (the pipeline passes its frame
// counter).
class RenderDriver {
public:
    RenderDriver() = default;
    RenderDriver(const RenderDriver&) = delete;
    RenderDriver& operator=(const RenderDriver&) = delete;

    virtual void reservedSlot0(RasterTriangle&, Bitmap&, int) {}
    virtual void fillFlat(RasterTriangle&, Bitmap&, int) {}
    virtual void fillTextured(RasterTriangle&, Bitmap&, int) {}
    virtual void reservedSlot3(RasterTriangle&, Bitmap&, int) {}
    virtual void fillTextureEnvAdd(RasterTriangle&, Bitmap&, int) {}
    virtual void fillTextureMasked(RasterTriangle&, Bitmap&, int) {}
    virtual void fillBumpEnv(RasterTriangle&, Bitmap&, int) {}
    virtual void reservedSlot7(RasterTriangle&, Bitmap&, int) {}
    virtual void reservedSlot8(RasterTriangle&, Bitmap&, int) {}
    virtual void reservedSlot9(RasterTriangle&, Bitmap&, int) {}
    virtual void fillPerspective(RasterTriangle&, Bitmap&, int) {}
    virtual void fillPerspectiveKeyed(RasterTriangle&, Bitmap&, int) {}
    virtual void fillPerspectiveNoDepth(RasterTriangle&, Bitmap&, int) {}
    virtual void fillPerspectiveFogNoDepth(RasterTriangle&, Bitmap&, int) {}
    virtual void fillPerspectiveFog(RasterTriangle&, Bitmap&, int) {}
    virtual void fillGouraudTextured(RasterTriangle&, Bitmap&, int) {}
    virtual void fillGouraud(RasterTriangle&, Bitmap&, int) {}
    virtual void drawSprite(const Sprite&, Bitmap&, int) {}
    virtual void setOption(std::uint8_t) {}
    virtual void clearDepth() {}
    virtual ~RenderDriver() = default;

    // Number of the triangle slots 0..16, the ones fillBySlot reaches.
    static constexpr int kTriangleSlots = 17;

    // Calls triangle slot `slot` (0..16), as the pipeline does with the slot
    // that a type code asks for; any other number does nothing.
    void fillBySlot(int slot, RasterTriangle& triangle, Bitmap& target, int stamp);
};

} // namespace zov
