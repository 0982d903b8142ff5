#pragma once

#include "engine3d/TcbChannel.h"
#include "math/Matrix.h"
#include "math/Vec3.h"

namespace zov {

// Where the viewer stands and how it is turned. Camera space has the camera
// at the origin, z growing away from the viewer, x right and y up.
struct Camera {
    TcbChannel rotationChannel;
    Vec3 rotation{0, 0, 0}; // Euler angles, radians
    TcbChannel positionChannel;
    Vec3 position{0, 0, 0}; // scene coordinates
    Matrix view;            // scene to camera space, as of the last rebuildView
    // Non-zero: the scene evaluates both channels every frame.
    int animated = 0;

    Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;
    // Prints "deleted camera rotation matrix \n".
    ~Camera();

    // view = translation(-position) rotationY rotationX rotationZ; the angles
    // are not negated. Also returns it.
    const Matrix& rebuildView();
};

} // namespace zov
