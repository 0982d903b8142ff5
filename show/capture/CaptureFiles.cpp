#include "show/capture/CaptureFiles.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace zov {

namespace {

std::string describe(const char* path, int errorNumber)
{
    return std::string("cannot write ") + path + ": " + std::strerror(errorNumber);
}

} // namespace

bool writeWholeFile(const char* path, std::span<const std::uint8_t> bytes, std::string& error)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = describe(path, errno);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing without saying why: a full disk.
            const int errorNumber = n < 0 ? errno : ENOSPC;
            ::close(fd);
            error = describe(path, errorNumber);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        error = describe(path, errno);
        return false;
    }
    return true;
}

bool isCaptureFileName(const std::string& name)
{
    if (name == "music.wav" || name == "positions.tsv")
        return true;
    const std::string prefix = "frame-", suffix = ".png";
    if (name.size() < prefix.size() + 6 + suffix.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                       name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool findCaptureFiles(const std::string& directory, std::vector<std::string>& paths, std::string& error)
{
    namespace fs = std::filesystem;
    paths.clear();
    std::error_code ec;
    if (!fs::is_directory(directory, ec))
        return true;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
        if (!it->is_directory(ec) && isCaptureFileName(it->path().filename().string()))
            paths.push_back(it->path().string());
    if (ec) {
        error = "cannot read " + directory + ": " + ec.message();
        return false;
    }
    std::sort(paths.begin(), paths.end());
    return true;
}

FrameNames::FrameNames(const std::string& directory) : buffer_(directory.size() + 64), prefix_(directory.size())
{
    std::memcpy(buffer_.data(), directory.data(), directory.size());
}

const char* FrameNames::name(std::int64_t frame)
{
    std::snprintf(buffer_.data() + prefix_, buffer_.size() - prefix_, "/frame-%06" PRId64 ".png", frame);
    return buffer_.data();
}

PositionLog::PositionLog() : buffer_(1 << 16) {}

PositionLog::~PositionLog()
{
    if (file_)
        std::fclose(file_);
}

bool PositionLog::fail(std::string& error)
{
    error = describe(path_.c_str(), errno != 0 ? errno : EIO);
    return false;
}

bool PositionLog::open(const std::string& path, std::string& error)
{
    path_ = path;
    errno = 0;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_)
        return fail(error);
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
    if (std::fputs("frame\tseconds\tpart\torder\trow\n", file_) < 0)
        return fail(error);
    return true;
}

bool PositionLog::add(const FrameFacts& f, std::string& error)
{
    char part[16] = "end";
    if (f.part >= 0)
        std::snprintf(part, sizeof part, "%d", f.part + 1);
    errno = 0;
    int written;
    if (f.musicPlaying)
        written = std::fprintf(file_, "%" PRId64 "\t%" PRId64 ".%06" PRId64 "\t%s\t%d\t%d\n", f.index,
                               f.showMicros / 1'000'000, f.showMicros % 1'000'000, part, f.order, f.row);
    else
        written = std::fprintf(file_, "%" PRId64 "\t%" PRId64 ".%06" PRId64 "\t%s\t-\t-\n", f.index,
                               f.showMicros / 1'000'000, f.showMicros % 1'000'000, part);
    return written >= 0 || fail(error);
}

bool PositionLog::finish(std::string& error)
{
    errno = 0;
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const int firstError = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        if (firstError != 0)
            errno = firstError;
        return fail(error);
    }
    return true;
}

} // namespace zov
