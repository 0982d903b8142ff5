#include "show/capture/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zov {

std::optional<std::string> findOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        struct stat info{};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        finish();
    }
}

bool ChildProcess::start(const std::vector<std::string>& argv, bool feedInput, const std::string& logPath,
                         std::string& error)
{
    int pipeFds[2] = {-1, -1};
    if (feedInput && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (feedInput)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[0], 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // This process ignores SIGPIPE to hear of a child that stopped reading
    // as a failed write; the child gets the default back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    // A process group of its own: Ctrl-C in a terminal reaches the whole
    // foreground group, and it is this process that decides when the
    // child's input ends, so that a cut-short run still has a whole file.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (feedInput)
        ::close(pipeFds[0]);
    if (spawned != 0) {
        pid_ = -1;
        if (feedInput)
            ::close(pipeFds[1]);
        error = "cannot start " + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    input_ = feedInput ? pipeFds[1] : -1;
    return true;
}

bool ChildProcess::write(const void* bytes, std::size_t size)
{
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0 && input_ >= 0) {
        const ssize_t n = ::write(input_, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        size -= static_cast<std::size_t>(n);
    }
    return input_ >= 0;
}

int ChildProcess::finish()
{
    if (input_ >= 0) {
        ::close(input_);
        input_ = -1;
    }
    if (pid_ <= 0)
        return -1;
    int status = 0;
    pid_t waited;
    do
        waited = ::waitpid(pid_, &status, 0);
    while (waited < 0 && errno == EINTR);
    pid_ = -1;
    if (waited < 0)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

} // namespace zov
