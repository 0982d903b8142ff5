#pragma once

#include <memory>

namespace zov {

class Part;

// Makes one part of the show from the screen width and height and the name
// of its background picture (not copied: a string that lives as long as the
// program). The part keeps only its parameters until init.
using PartFactory = std::unique_ptr<Part> (*)(int width, int height, const char* background);

// The four parts of the show, in playing order.
std::unique_ptr<Part> makeSlidePart(int width, int height, const char* background);
std::unique_ptr<Part> makeTunnelPart(int width, int height, const char* background);
std::unique_ptr<Part> makeScrollerPart(int width, int height, const char* background);
std::unique_ptr<Part> makeGreetsPart(int width, int height, const char* background);

} // namespace zov
