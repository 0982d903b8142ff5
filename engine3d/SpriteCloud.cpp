#include "engine3d/SpriteCloud.h"

#include "engine3d/Camera.h"
#include "raster/RenderDriver.h"

namespace zov {

SpriteCloud::SpriteCloud(const Bitmap* image, double sizeX, double sizeY)
{
    sprite.image = image;
    sprite.size.set(sizeX, sizeY, 0);
    scale.set(1, 1, 1);
    images_.reserve(kMaxImages);
}

int SpriteCloud::addImage(const Bitmap* image)
{
    if (static_cast<int>(images_.size()) >= kMaxImages)
        return -1;
    images_.push_back(image);
    return static_cast<int>(images_.size()) - 1;
}

void SpriteCloud::updateMatrix()
{
    Matrix size, turnX, turnY, turnZ, move;
    size.scale(scale.x, scale.y, scale.z);
    turnX.rotationX(rotation.x);
    turnY.rotationY(rotation.y);
    turnZ.rotationZ(rotation.z);
    move.translation(position.x, position.y, position.z);
    objectMatrix = size.times(turnX).times(turnY).times(turnZ).times(move);
}

void SpriteCloud::draw(Bitmap& target, RenderDriver& driver, Camera& camera, double, int frameCounter)
{
    const Matrix toCamera = objectMatrix.times(camera.rebuildView());
    const std::size_t n = source_.size();
    for (std::size_t i = 0; i < n; ++i)
        working_[i].position = source_[i].position.transform(toCamera);
    for (std::size_t i = 0; i < n; ++i) {
        if (useVertexImages != 0 && i < images_.size())
            sprite.image = images_[i];
        sprite.position = working_[i].position;
        driver.drawSprite(sprite, target, frameCounter);
    }
}

} // namespace zov
