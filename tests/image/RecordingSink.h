#pragma once

#include "image/Diagnostics.h"

#include <string>
#include <vector>

namespace zov::test {

// Collects the reports made while it lives, as "FILE: REASON" lines.
class RecordingSink final : public DiagnosticSink {
public:
    RecordingSink() : scope_(*this) {}
    void report(std::string_view file, std::string_view reason) override
    {
        lines.push_back(std::string(file) + ": " + std::string(reason));
    }
    std::vector<std::string> lines;

private:
    ScopedDiagnosticSink scope_;
};

} // namespace zov::test
