#include "engine3d/Camera.h"

#include "image/ReleaseLines.h"

namespace zov {

Camera::~Camera()
{
    announceRelease("deleted camera rotation matrix \n");
}

const Matrix& Camera::rebuildView()
{
    Matrix move, turnY, turnX, turnZ;
    move.translation(-position.x, -position.y, -position.z);
    turnY.rotationY(rotation.y);
    turnX.rotationX(rotation.x);
    turnZ.rotationZ(rotation.z);
    view = move.times(turnY).times(turnX).times(turnZ);
    return view;
}

} // namespace zov
