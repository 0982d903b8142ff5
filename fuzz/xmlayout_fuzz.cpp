// The module layout walk alone: the size an XM's headers describe, which
// the music loader works out for every file before libopenmpt sees it.
// Beside not crashing or hanging, the walk must keep its promise: a file
// cut before the end its headers describe, and after its signature, is
// never taken as whole.
#include "fuzz/FuzzSupport.h"
#include "platform/XmLayout.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::size_t kCuts = 48;
constexpr std::size_t kSignatureLength = 17; // "Extended Module: "

void expectCutToShow(const std::uint8_t* data, std::size_t cut)
{
    if (zov::xmDescribedSize(data, cut) <= cut)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint64_t described = zov::xmDescribedSize(data, size);
    if (described == 0)
        return 0;
    // Cuts near the end, and a spread of cuts whose places move with the
    // input's length, so that over many inputs every offset gets cut.
    const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(described, size));
    for (std::size_t back = 1; back <= kCuts / 2 && back + kSignatureLength <= end; ++back)
        expectCutToShow(data, end - back);
    const std::size_t step = std::max<std::size_t>(1, end / (kCuts / 2));
    for (std::size_t cut = kSignatureLength + size % step; cut < end; cut += step)
        expectCutToShow(data, cut);
    return 0;
}
