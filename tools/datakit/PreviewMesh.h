#pragma once

#include "tools/datakit/LwoWriter.h"
#include "tools/datakit/PreviewFrame.h"

#include <vector>

namespace zov::kit {

// A small z-buffered triangle renderer that draws the kit's objects roughly
// as the show does (same projection, back-face rule, flat lighting, sphere
// environment coordinates and planar image maps), for the previews only.
class PreviewRenderer {
public:
    PreviewRenderer(int width, int height);

    void clearDepth();
    // The object at `position` with Euler angles `rotation`, seen from a
    // camera at (0, 0, cameraZ). With an environment map every triangle is
    // env-mapped with smooth normals; otherwise surfaces are drawn flat-lit
    // or with their image (`images` indexed by surface, null for none).
    void draw(Frame& target, const LwoObject& object, const double position[3], const double rotation[3],
              double cameraZ, const Frame* environment, const std::vector<const Frame*>& images);

private:
    int width_;
    int height_;
    std::vector<float> depth_;
};

} // namespace zov::kit
