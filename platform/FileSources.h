#pragma once

#include "platform/AudioSource.h"

namespace zov {

// Opens WAV files as streams (SDL) and tracker modules (libopenmpt).
class FileSourceOpener final : public SourceOpener {
public:
    Result openStream(const char* path, int rate) override;
    Result openModule(const char* path, int rate) override;
};

} // namespace zov
