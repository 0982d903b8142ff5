#pragma once

#include "show/program/ProgramOptions.h"

#include <memory>

namespace zov {

class DisplayDriver;

// What tells demoplay from demoplayfs: its name and its display back-end.
extern const char* const kProgramName;
std::unique_ptr<DisplayDriver> createDisplay(const ProgramOptions& options);

} // namespace zov
