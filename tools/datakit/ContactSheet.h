#pragma once

#include "tools/datakit/Canvas.h"
#include "tools/datakit/Kit.h"

#include <string>
#include <vector>

namespace zov::kit {

// Every picture of the kit on one sheet, each with its file name and size.
Canvas makeContactSheet(const std::vector<KitPicture>& pictures);

// Writes a canvas as a PNG, with `alpha` (of the canvas's size) as its
// transparency when given; false after a line on standard error.
bool writeCanvasPng(const Canvas& canvas, const std::string& path, const Mask* alpha = nullptr);

} // namespace zov::kit
