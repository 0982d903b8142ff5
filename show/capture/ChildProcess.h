#pragma once

#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zov {

// The first executable file called name in the folders of PATH.
std::optional<std::string> findOnPath(const std::string& name);

// A program run as a child, in a process group of its own (a terminal's
// Ctrl-C does not reach it): its standard input is a pipe fed by write(), or
// /dev/null; its standard output and error go to a log file.
class ChildProcess {
public:
    ChildProcess() = default;
    // A child still running is stopped and waited for.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // argv[0] is the program's path. False, with the reason in error, when
    // it cannot be started.
    bool start(const std::vector<std::string>& argv, bool feedInput, const std::string& logPath, std::string& error);
    // False once the child stopped reading (it ended or failed).
    bool write(const void* bytes, std::size_t size);
    // Closes its input and waits: its exit status, or 128 + the signal
    // that ended it, or -1 when it was never started.
    int finish();

private:
    pid_t pid_ = -1;
    int input_ = -1;
};

} // namespace zov
