#include "platform/sdl/SdlDisplay.h"
#include "show/program/ProgramDisplay.h"

namespace zov {

const char* const kProgramName = "demoplay";

std::unique_ptr<DisplayDriver> createDisplay(const ProgramOptions& options)
{
    return std::make_unique<SdlDisplay>(SdlDisplayOptions{false, options.scale, options.vsync});
}

} // namespace zov
