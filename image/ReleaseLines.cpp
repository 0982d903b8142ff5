#include "image/ReleaseLines.h"

#include <atomic>
#include <cstdio>

namespace zov {

namespace {
std::atomic<int> gQuiet{0};
} // namespace

void announceRelease(const char* line)
{
    if (gQuiet.load(std::memory_order_relaxed) == 0)
        std::fputs(line, stdout);
}

QuietReleases::QuietReleases() { gQuiet.fetch_add(1, std::memory_order_relaxed); }

QuietReleases::~QuietReleases() { gQuiet.fetch_sub(1, std::memory_order_relaxed); }

} // namespace zov
