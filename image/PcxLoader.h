#pragma once

#include "image/ImageLoader.h"

namespace zov {

// 24-bit PCX pictures, decoded by the program's own run-length decoder.
class PcxLoader : public ImageLoader {
public:
    // Decodes into a temporary of the file's size, then copies it into
    // target (scale false) or resamples it to target's size (scale true).
    // A file that cannot be opened leaves target as it was. flag is unused.
    void loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool flag) override;
    // A width x height bitmap decoded straight from a file of that size.
    std::unique_ptr<Bitmap> loadNew(const char* path, int width, int height, bool scale) override;
    // Paths ending in "pcx", any case.
    bool canLoad(const char* path) const override;
    // A PCX file starts with the byte 0x0A.
    std::string kindProblem(const std::uint8_t* bytes, std::size_t size) const override;
    void decodeInto(Bitmap& target, const std::uint8_t* bytes, std::size_t size, const char* name, int fileWidth,
                    int fileHeight, bool scale) override;
};

} // namespace zov
