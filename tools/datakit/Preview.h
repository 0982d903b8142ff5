#pragma once

#include <string>

namespace zov::kit {

// Writes PNG previews of the show's layering into `dir`: each background with
// what is drawn over it (the logo, the sliding title, the trail cube, the
// tunnel and star, the bubbles, grid and scroller, the portraits and the
// greetings), imitating the show's byte arithmetic closely enough to judge
// readability. These are previews, not the show's renderer.
bool writeComposites(const std::string& dir);

} // namespace zov::kit
