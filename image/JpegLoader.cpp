#include "image/JpegLoader.h"

#include "image/Bitmap.h"
#include "image/FileExtension.h"
#include "image/JpegDecoder.h"

namespace zov {

void JpegLoader::loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool, bool)
{
    if (fileWidth == target.width() && fileHeight == target.height()) {
        decodeJpegFile(path, target.pixels(), target.width(), target.height());
        return;
    }
    Bitmap decoded(fileWidth, fileHeight);
    if (decodeJpegFile(path, decoded.pixels(), decoded.width(), decoded.height()))
        decoded.scaleTo(target);
}

std::unique_ptr<Bitmap> JpegLoader::loadNew(const char*, int, int, bool) { return nullptr; }

bool JpegLoader::canLoad(const char* path) const { return endsWithTag(path, "JPG"); }

} // namespace zov
