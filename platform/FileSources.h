#pragma once

#include "platform/AudioSource.h"

#include <cstdint>
#include <vector>

namespace zov {

// Opens WAV files as streams (SDL) and tracker modules (libopenmpt).
class FileSourceOpener final : public SourceOpener {
public:
    Result openStream(const char* path, int rate) override;
    // A module that cannot be read or played is reported under its path
    // (see image/Diagnostics.h), and so are libopenmpt's remarks on a
    // damaged one that still plays.
    Result openModule(const char* path, int rate) override;
};

// A module from the bytes of a whole file, reported under name.
SourceOpener::Result openModuleBytes(const std::vector<std::uint8_t>& bytes, int rate, const char* name);

} // namespace zov
