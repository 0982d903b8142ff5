#pragma once

#include "engine3d/VertexObject.h"
#include "raster/Sprite.h"

#include <cstdint>
#include <vector>

namespace zov {

class Bitmap;

// Vertices drawn as additive sprites through the driver's sprite slot. Its
// matrix turns by the angles as given (not negated).
class SpriteCloud : public VertexObject {
public:
    static constexpr int kMaxImages = 32;

    // image: the sprite of every vertex (not owned); sizeX, sizeY: its world
    // size. Scale starts at (1, 1, 1).
    SpriteCloud(const Bitmap* image, double sizeX, double sizeY);

    void draw(Bitmap& target, RenderDriver& driver, Camera& camera, double time, int frameCounter) override;
    bool producesTriangles() const override { return false; }
    std::uint8_t flagByte() const override { return 0; }
    // objectMatrix = scale rotationX rotationY rotationZ translation.
    void updateMatrix() override;

    // Vertex i draws image i of this table while useVertexImages is non-zero
    // (vertices past the table keep the last image drawn). -1 when full.
    int addImage(const Bitmap* image);
    std::uint8_t useVertexImages = 0;

    Sprite sprite;

private:
    std::vector<const Bitmap*> images_;
};

} // namespace zov
