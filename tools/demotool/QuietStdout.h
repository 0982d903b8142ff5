#pragma once

#include <cstdio>

#include <unistd.h>

namespace zov::tool {

// Keeps standard output for the tool's own lines while it lives: the show's
// objects announce their loading and release there.
class QuietStdout {
public:
    QuietStdout()
    {
        std::fflush(stdout);
        saved_ = ::dup(STDOUT_FILENO);
        if (std::FILE* null = std::fopen("/dev/null", "w")) {
            ::dup2(::fileno(null), STDOUT_FILENO);
            std::fclose(null);
        }
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

} // namespace zov::tool
