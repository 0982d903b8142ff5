#include "runtime/ShowProgram.h"

#include "platform/DisplayDriver.h"

#include <cstdio>

namespace zov {

// Placeholder until the demo driver exists: opens the display and returns.
int runShow(DisplayDriver& display, MusicPlayer&, Clock&)
{
    if (!display.open(512, 384, true, 32)) {
        std::fputs("cannot open the display\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace zov
