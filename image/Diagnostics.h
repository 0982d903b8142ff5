#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

// Where readers of outside files report what is wrong with one: a line
// "FILE: REASON" per problem. Process-wide so that deep loaders need no
// extra parameter; the default writes to standard error.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void report(std::string_view file, std::string_view reason) = 0;
};

void reportFileProblem(std::string_view file, std::string_view reason);

// Sends reports to sink while it lives, then to the one before.
class ScopedDiagnosticSink {
public:
    explicit ScopedDiagnosticSink(DiagnosticSink& sink);
    ~ScopedDiagnosticSink();
    ScopedDiagnosticSink(const ScopedDiagnosticSink&) = delete;
    ScopedDiagnosticSink& operator=(const ScopedDiagnosticSink&) = delete;

private:
    DiagnosticSink* previous_;
};

// Why a file could not be opened, in a user's words ("no such file").
std::string openFailureReason(int errorNumber);

// The whole content of a regular file; none, with reason set, when it cannot
// be read (missing, a directory, unreadable).
std::optional<std::vector<std::uint8_t>> readWholeFile(const char* path, std::string& reason);

} // namespace zov
