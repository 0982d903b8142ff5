#include "image/PcxLoader.h"

#include "image/Bitmap.h"
#include "image/FileExtension.h"
#include "image/PcxDecoder.h"

namespace zov {

void PcxLoader::loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool)
{
    Bitmap decoded(fileWidth, fileHeight);
    if (decodePcxFile(path, decoded, fileWidth, fileHeight, false) == PcxDecodeResult::NotOpened)
        return;
    if (scale)
        decoded.scaleTo(target);
    else
        decoded.copyTo(target);
}

std::unique_ptr<Bitmap> PcxLoader::loadNew(const char* path, int width, int height, bool scale)
{
    auto bitmap = std::make_unique<Bitmap>(width, height);
    decodePcxFile(path, *bitmap, width, height, scale);
    return bitmap;
}

bool PcxLoader::canLoad(const char* path) const { return endsWithTag(path, "PCX"); }

} // namespace zov
