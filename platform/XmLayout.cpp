#include "platform/XmLayout.h"

#include <cstring>

namespace zov {

namespace {

constexpr char kSignature[] = "Extended Module: ";
constexpr std::size_t kHeaderSizeAt = 60;

// Little-endian fields read as 0 past the end, which ends the walk.
class Reader {
public:
    Reader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::uint32_t u16(std::uint64_t at) const { return has(at, 2) ? bytes_[at] | bytes_[at + 1] << 8 : 0; }
    std::uint32_t u32(std::uint64_t at) const
    {
        return has(at, 4) ? u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16 : 0;
    }
    bool has(std::uint64_t at, std::uint64_t n) const { return at <= size_ && n <= size_ - at; }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
};

} // namespace

std::uint64_t xmDescribedSize(const std::uint8_t* bytes, std::size_t size)
{
    const std::size_t signatureLength = sizeof kSignature - 1;
    if (!bytes || size < signatureLength || std::memcmp(bytes, kSignature, signatureLength) != 0)
        return 0;
    const Reader r(bytes, size);
    // Up to the instrument count, whatever the header size says.
    if (!r.has(kHeaderSizeAt, 14))
        return kHeaderSizeAt + 14;
    const std::uint32_t patterns = r.u16(kHeaderSizeAt + 10);
    const std::uint32_t instruments = r.u16(kHeaderSizeAt + 12);
    std::uint64_t at = kHeaderSizeAt + std::uint64_t{r.u32(kHeaderSizeAt)};
    // Headers of size 0 would walk in place, up to 65535 x 65535 times: such
    // a file is no XM the walk can follow, so it stops there.
    for (std::uint32_t p = 0; p < patterns; ++p) {
        if (!r.has(at, 9))
            return at + 9;
        const std::uint64_t headerSize = r.u32(at);
        if (headerSize == 0)
            return at;
        at += headerSize + r.u16(at + 7);
    }
    for (std::uint32_t i = 0; i < instruments && at <= size; ++i) {
        if (!r.has(at, 29))
            return at + 29;
        const std::uint64_t headerSize = r.u32(at);
        const std::uint32_t samples = r.u16(at + 27);
        // Cut inside the sample header size, which would read as 0.
        if (samples > 0 && !r.has(at + 29, 4))
            return at + 33;
        const std::uint64_t sampleHeaderSize = samples > 0 ? r.u32(at + 29) : 0;
        if (headerSize == 0 || (samples > 0 && sampleHeaderSize == 0))
            return at;
        std::uint64_t sampleHeaders = at + headerSize;
        at = sampleHeaders + samples * sampleHeaderSize;
        for (std::uint32_t s = 0; s < samples; ++s, sampleHeaders += sampleHeaderSize) {
            if (!r.has(sampleHeaders, 4))
                return at + 4;
            at += r.u32(sampleHeaders); // sample length in bytes
        }
    }
    return at;
}

} // namespace zov
