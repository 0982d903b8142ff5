#pragma once

#include <string>

namespace zov::tool {

struct ObjectView {
    std::string object;
    std::string envmap;            // empty: the object's own surfaces
    double rotation[3] = {0, 0, 0}; // degrees about x, y, z
    double distance = 0.0;         // 0: three times the object's reach from its origin
    int width = 512;
    int height = 384;
    std::string output;
};

// The object through the scene pipeline, as the show draws objects, into a
// PNG. The exit status: 0, or 1 with a line on standard error.
int renderObject(const ObjectView& view);

// Part (from 0, in playing order) rendered alone from its start, frame after frame at 60 frames
// a second of show time up to `seconds`, so that its trails and feedback are
// as the show has them; the last frame goes to a PNG. The working directory
// holds data/. The exit status: 0, or 1 with a line on standard error.
int renderPart(int part, double seconds, const std::string& output);

} // namespace zov::tool
