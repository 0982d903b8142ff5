#pragma once

#include "lwo/ByteCursor.h"
#include "lwo/LwoReader.h"

#include <string>
#include <vector>

// The readers of the chunks LwoReader interprets, each given exactly the
// bytes of its chunk.
namespace zov {

std::vector<Vec3> readPoints(ByteCursor chunk);
std::vector<std::string> readSurfaceNames(ByteCursor chunk);
// Indices are not checked against the points here: POLS may come first.
std::vector<LwoPolygon> readPolygons(ByteCursor chunk);
LwoSurface readSurface(ByteCursor chunk);

} // namespace zov
