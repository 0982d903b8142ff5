#pragma once

#include "image/ImageLoader.h"

namespace zov {

// JPEG pictures, decoded by libjpeg. A file that cannot be opened ends the
// process (see setJpegOpenFailureHandler).
class JpegLoader : public ImageLoader {
public:
    // Decodes straight into target when the stated size is target's own;
    // otherwise into a temporary of the stated size, resampled to target.
    // scale and flag are unused. A file that cannot be decoded leaves target
    // as it was.
    void loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool flag) override;
    // Always none.
    std::unique_ptr<Bitmap> loadNew(const char* path, int width, int height, bool scale) override;
    // Paths ending in "jpg", any case.
    bool canLoad(const char* path) const override;
    // A JPEG file starts with the bytes 0xFF 0xD8.
    std::string kindProblem(const std::uint8_t* bytes, std::size_t size) const override;
    void decodeInto(Bitmap& target, const std::uint8_t* bytes, std::size_t size, const char* name, int fileWidth,
                    int fileHeight, bool scale) override;
};

} // namespace zov
