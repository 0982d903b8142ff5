// PCX decoding of any bytes: the stated size comes from the file's own
// header (kept small), so real files are good seeds; odd windows also try
// the stretched copy into a target of another size.
#include "fuzz/FuzzSupport.h"
#include "image/Bitmap.h"
#include "image/PcxDecoder.h"

namespace {

constexpr int kLargest = 64;

int headerField(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    return at + 1 < size ? data[at] | (data[at + 1] << 8) : 0;
}

int small(int value)
{
    return 1 + (value % kLargest + kLargest) % kLargest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zov::fuzz::QuietSink quiet;
    zov::ScopedDiagnosticSink scope(quiet);
    const int width = small(headerField(data, size, 8) - headerField(data, size, 4));
    const int height = small(headerField(data, size, 10) - headerField(data, size, 6));
    const bool scale = headerField(data, size, 12) & 1;
    const int targetWidth = scale ? small(headerField(data, size, 12) >> 1) : width;
    const int targetHeight = scale ? small(headerField(data, size, 14)) : height;
    zov::Bitmap target(targetWidth, targetHeight);
    zov::decodePcxBytes(data, size, target, width, height, scale, "fuzz.pcx");
    return 0;
}
