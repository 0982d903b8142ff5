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

} // namespace zov
