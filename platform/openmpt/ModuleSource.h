#pragma once

#include "platform/AudioSource.h"

#include <cstdint>
#include <vector>

namespace zov {

// Tracker modules decoded by libopenmpt, as audio sources that loop at the
// module's restart position. A module that cannot be read or played is
// reported under its name (see image/Diagnostics.h), and so are libopenmpt's
// remarks on a damaged one that still plays.
SourceOpener::Result openModuleFile(const char* path, int rate);
// A module from the bytes of a whole file, reported under name.
SourceOpener::Result openModuleBytes(const std::vector<std::uint8_t>& bytes, int rate, const char* name);

// Modules only, for a build without the WAV streams of SDL (the web page): a
// stream is refused as a file of a foreign format, so the music player goes
// on to load the file as a module, as it does with a module named there.
class ModuleFileOpener final : public SourceOpener {
public:
    Result openStream(const char*, int) override;
    Result openModule(const char* path, int rate) override { return openModuleFile(path, rate); }
};

} // namespace zov
