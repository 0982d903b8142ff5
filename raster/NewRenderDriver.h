#pragma once

#include "raster/RenderDriver.h"

#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;
struct FillTarget;

// The software triangle renderer of the 3D scenes: a depth buffer the size of
// its target and the fills that raster/FillTable.h puts in the slots.
//
// Depth: a point's value is stamp + 1/z as a float; it passes when strictly
// greater than the stored entry. Opaque writes store it, additive and
// transparent writes only test. The buffer is cleared only by clearDepth: a
// caller that raises the stamp every frame (and clears when it restarts the
// stamp) puts each frame in front of the last without clearing.
//
// A driver draws only into targets of the size it was made for; a call with
// another target draws nothing. No call touches a pixel or depth entry
// outside the target.
class NewRenderDriver : public RenderDriver {
public:
    explicit NewRenderDriver(const Bitmap& target);
    // Prints "deleting a NewRenderDriver \n".
    ~NewRenderDriver() override;

    // The slot's fill from raster/FillTable.h.
    void fillBySlot(int slot, RasterTriangle& triangle, Bitmap& target, int stamp) override;

    // The fills, each in its slot by a row of raster/FillTable.h.
    void fillFlat(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillTextured(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillTextureEnvAdd(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillTextureMasked(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillBumpEnv(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillPerspective(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillPerspectiveKeyed(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillPerspectiveNoDepth(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillPerspectiveFogNoDepth(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillPerspectiveFog(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillGouraudTextured(RasterTriangle& triangle, Bitmap& target, int stamp);
    void fillGouraud(RasterTriangle& triangle, Bitmap& target, int stamp);
    void drawSprite(const Sprite& sprite, Bitmap& target, int stamp) override;
    void setOption(std::uint8_t value) override;
    void clearDepth() override;

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t optionByte() const { return optionByte_; }
    // width x height entries of stamp + 1/z, row-major.
    const float* depthBuffer() const { return depthBuffer_.get(); }
    float* depthBuffer() { return depthBuffer_.get(); }

    // Written by the pipeline before each scene, not by the constructor.
    float fogNear = 0.0f;           // 1/z at and above which there is no fog
    float fogFar = 0.0f;            // 1/z below which fog is full
    float fogRange = 0.0f;          // fogNear - fogFar
    std::uint32_t fogColour = 0;    // full-fog pixel; non-zero brightens, 0 darkens
    std::uint8_t cullBackFaces = 1; // back-face test of fillPerspective
    float zoom = 1.0f;              // extra projection scale of fillPerspective and drawSprite

private:
    // Fills `out` for a call on `target`; false when the call must draw nothing.
    bool bindTarget(Bitmap& target, int stamp, FillTarget& out);
    void drawSinglePixelSprite(const Sprite& sprite, Bitmap& target, int stamp);

    std::unique_ptr<float[]> depthBuffer_;
    int width_;
    int height_;
    std::uint8_t optionByte_ = 0;
};

} // namespace zov
