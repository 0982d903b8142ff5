#include "platform/web/PageClock.h"

#include <emscripten.h>

#include <cmath>

namespace zov {

std::int64_t PageClock::ticks() const
{
    if (!started_)
        return 0;
    return std::llround((emscripten_get_now() - originMs_) * 1000.0);
}

void PageClock::start()
{
    if (started_)
        return;
    originMs_ = emscripten_get_now();
    started_ = true;
}

} // namespace zov
