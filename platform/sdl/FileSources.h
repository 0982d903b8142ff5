#pragma once

#include "platform/AudioSource.h"

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

} // namespace zov
