#pragma once

#include "image/Diagnostics.h"

#include <cstddef>
#include <cstdint>

// Reports are not what a target looks for and writing them would slow it.
namespace zov::fuzz {

class QuietSink final : public DiagnosticSink {
public:
    void report(std::string_view, std::string_view) override {}
};

} // namespace zov::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
