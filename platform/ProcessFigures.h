#pragma once

#include <string>

namespace zov {

// What the process holds now, read from /proc/self (after handing freed
// memory back to the system): to see that a long run stays flat.
struct ProcessFigures {
    long residentKb = 0;
    int openFiles = 0;
    int threads = 0;
};

ProcessFigures readProcessFigures();
// "resident 45.2 MB, 7 files open, 3 threads"
std::string describe(const ProcessFigures& figures);

} // namespace zov
