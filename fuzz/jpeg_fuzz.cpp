// JPEG decoding from memory into a small window of the picture, as the
// show's loaders cut a file to the room they have.
#include "fuzz/FuzzSupport.h"
#include "image/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zov::fuzz::QuietSink quiet;
    zov::ScopedDiagnosticSink scope(quiet);
    const auto picture = zov::decodeJpegBytes(data, size, 64, 48, "fuzz.jpg");
    // Touch what came back so a wrong size shows as a bad read.
    std::uint32_t sum = 0;
    if (picture)
        for (int y = 0; y < picture->height; ++y)
            for (int x = 0; x < picture->width; ++x)
                sum += picture->pixels[static_cast<std::size_t>(y) * picture->stride + x];
    return static_cast<int>(sum & 0);
}
