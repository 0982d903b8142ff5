#include "image/OutputFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zov {

bool checkOutputFile(const std::string& path, std::string& error)
{
    bool created = true;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    if (created)
        ::unlink(path.c_str());
    return true;
}

} // namespace zov
