#pragma once

#include <cstddef>
#include <cstdint>

namespace zov {

// How many bytes an XM module's own headers say it holds (header, patterns,
// instruments, sample data), walked as far as the bytes go, so that for a
// cut file it is a lower bound; 0 when the bytes do not start like an XM.
// libopenmpt plays a cut module without a word, so this is what tells a
// user the file is short.
std::uint64_t xmDescribedSize(const std::uint8_t* bytes, std::size_t size);

} // namespace zov
