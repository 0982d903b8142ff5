#pragma once

#include <memory>

namespace zov {

class Part;

// The four parts of the show, in playing order. Each takes the screen width
// and height; the parts keep only their parameters until init.
std::unique_ptr<Part> makeSlidePart(int width, int height);
std::unique_ptr<Part> makeTunnelPart(int width, int height);
std::unique_ptr<Part> makeScrollerPart(int width, int height);
std::unique_ptr<Part> makeGreetsPart(int width, int height);

} // namespace zov
