#include "show/capture/CaptureFiles.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace zov {

namespace {

std::string describe(const char* path, int errorNumber)
{
    return std::string("cannot write ") + path + ": " + std::strerror(errorNumber);
}

} // namespace

bool writeAll(int fd, const void* bytes, std::size_t size, std::int64_t& reached)
{
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    while (size > 0) {
        const ssize_t n = ::write(fd, at, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing without saying why: a full disk.
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        at += n;
        size -= static_cast<std::size_t>(n);
        reached += n;
    }
    return true;
}

bool closeAfter(int& fd, bool ok, int& errorNumber)
{
    errorNumber = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        errorNumber = errno;
    }
    fd = -1;
    return ok;
}

namespace {

// The file at `path`, named `shownAs` in the error.
bool writeFile(const char* path, const char* shownAs, std::span<const std::uint8_t> bytes, std::string& error)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = describe(shownAs, errno);
        return false;
    }
    std::int64_t reached = 0;
    if (!writeAll(fd, bytes.data(), bytes.size(), reached)) {
        error = describe(shownAs, errno);
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        error = describe(shownAs, errno);
        return false;
    }
    return true;
}

} // namespace

bool writeWholeFile(const char* path, std::span<const std::uint8_t> bytes, std::string& error)
{
    return writeFile(path, path, bytes, error);
}

bool writeThenName(const char* path, std::span<const std::uint8_t> bytes, std::string& error)
{
    char partial[4096];
    if (std::snprintf(partial, sizeof partial, "%s%s", path, kPartialSuffix) >= static_cast<int>(sizeof partial)) {
        error = describe(path, ENAMETOOLONG);
        return false;
    }
    if (!writeFile(partial, path, bytes, error)) {
        ::unlink(partial);
        return false;
    }
    if (::rename(partial, path) != 0) {
        error = describe(path, errno);
        ::unlink(partial);
        return false;
    }
    return true;
}

bool isCaptureFileName(const std::string& name)
{
    if (name == "music.wav" || name == "positions.tsv")
        return true;
    const std::string prefix = "frame-", partial = kPartialSuffix;
    std::string_view frame = name;
    if (frame.size() > partial.size() && frame.substr(frame.size() - partial.size()) == partial)
        frame.remove_suffix(partial.size());
    const std::string_view suffix = ".png";
    if (frame.size() < prefix.size() + 6 + suffix.size() || frame.substr(0, prefix.size()) != prefix ||
        frame.substr(frame.size() - suffix.size()) != suffix)
        return false;
    const std::string_view digits = frame.substr(prefix.size(), frame.size() - prefix.size() - suffix.size());
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
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

PositionLog::~PositionLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool PositionLog::fail(int errorNumber, std::string& error)
{
    error = describe(path_.c_str(), errorNumber != 0 ? errorNumber : EIO);
    return false;
}

bool PositionLog::open(const std::string& path, std::string& error)
{
    path_ = path;
    bytes_ = fileBytes_ = 0;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return fail(errno, error);
    static constexpr char kHeader[] = "frame\tseconds\tpart\torder\trow\n";
    if (!writeAll(fd_, kHeader, sizeof kHeader - 1, fileBytes_))
        return fail(errno, error);
    bytes_ = fileBytes_;
    return true;
}

bool PositionLog::add(const FrameFacts& f, std::string& error)
{
    char part[16] = "end";
    if (f.part >= 0)
        std::snprintf(part, sizeof part, "%d", f.part + 1);
    int length;
    if (f.musicPlaying)
        length = std::snprintf(line_, sizeof line_, "%" PRId64 "\t%" PRId64 ".%06" PRId64 "\t%s\t%d\t%d\n", f.index,
                               f.showMicros / 1'000'000, f.showMicros % 1'000'000, part, f.order, f.row);
    else
        length = std::snprintf(line_, sizeof line_, "%" PRId64 "\t%" PRId64 ".%06" PRId64 "\t%s\t-\t-\n", f.index,
                               f.showMicros / 1'000'000, f.showMicros % 1'000'000, part);
    if (fd_ < 0 || length < 0 || length >= static_cast<int>(sizeof line_))
        return fail(fd_ < 0 ? EBADF : EINVAL, error);
    if (!writeAll(fd_, line_, static_cast<std::size_t>(length), fileBytes_))
        return fail(errno, error);
    bytes_ = fileBytes_;
    return true;
}

bool PositionLog::finish(std::int64_t bytes, std::string& error)
{
    if (fd_ < 0)
        return fail(EBADF, error);
    const std::int64_t end = std::clamp<std::int64_t>(bytes, 0, bytes_);
    int errorNumber = 0;
    return closeAfter(fd_, fileBytes_ <= end || ::ftruncate(fd_, end) == 0, errorNumber) || fail(errorNumber, error);
}

} // namespace zov
