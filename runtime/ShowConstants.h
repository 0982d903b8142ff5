#pragma once

namespace zov {

// The show's fixed frame and display settings; the program entry hands them
// to everything it builds, and some effects place things by them.
constexpr int kScreenWidth = 512;
constexpr int kScreenHeight = 384;
constexpr int kColourDepth = 32;
constexpr int kDisplayFlag = 1;

} // namespace zov
