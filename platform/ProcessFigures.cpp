#include "platform/ProcessFigures.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zov {

namespace {

int entriesIn(const char* folder)
{
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        ++count;
    return count;
}

} // namespace

ProcessFigures readProcessFigures()
{
    // Freed memory the allocator still keeps is not the program's: handing
    // it back first makes one pass comparable with the next.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    ProcessFigures figures;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            figures.residentKb = std::atol(line.c_str() + 6);
    // The listing itself holds one descriptor open while it reads.
    figures.openFiles = entriesIn("/proc/self/fd") - 1;
    figures.threads = entriesIn("/proc/self/task");
    return figures;
}

std::string describe(const ProcessFigures& figures)
{
    char line[96];
    std::snprintf(line, sizeof line, "resident %.1f MB, %d file%s open, %d thread%s",
                  static_cast<double>(figures.residentKb) / 1024.0, figures.openFiles,
                  figures.openFiles == 1 ? "" : "s", figures.threads, figures.threads == 1 ? "" : "s");
    return line;
}

} // namespace zov
