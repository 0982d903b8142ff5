#include "platform/sdl/SdlDisplay.h"
#include "show/program/ProgramDisplay.h"

namespace zov {

const char* const kProgramName = "demoplayfs";

std::unique_ptr<DisplayDriver> createDisplay(const ProgramOptions& options)
{
    return std::make_unique<SdlDisplay>(SdlDisplayOptions{true, 1, options.vsync});
}

} // namespace zov
