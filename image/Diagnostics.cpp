#include "image/Diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace zov {

namespace {

class StandardErrorSink final : public DiagnosticSink {
public:
    void report(std::string_view file, std::string_view reason) override
    {
        std::string line;
        line.reserve(file.size() + reason.size() + 3);
        line.append(file).append(": ").append(reason).push_back('\n');
        // One write, so that lines from two threads do not interleave.
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
};

StandardErrorSink gStandardError;
DiagnosticSink* gSink = &gStandardError;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

void reportFileProblem(std::string_view file, std::string_view reason)
{
    gSink->report(file, reason);
}

ScopedDiagnosticSink::ScopedDiagnosticSink(DiagnosticSink& sink) : previous_(gSink)
{
    gSink = &sink;
}

ScopedDiagnosticSink::~ScopedDiagnosticSink()
{
    gSink = previous_;
}

std::string openFailureReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT: return "no such file";
    case EISDIR: return "is a directory";
    case EACCES: return "permission denied";
    default: return std::string("cannot open: ") + std::strerror(errorNumber);
    }
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const char* path, std::string& reason)
{
    if (!path) {
        reason = openFailureReason(EINVAL);
        return std::nullopt;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) {
        reason = openFailureReason(errno);
        return std::nullopt;
    }
    // fopen takes a directory; reading it then fails with a vaguer error.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
        reason = openFailureReason(EISDIR);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(file.get())) {
        reason = std::string("cannot read: ") + std::strerror(errno);
        return std::nullopt;
    }
    return bytes;
}

} // namespace zov
