#include "image/JpegLoader.h"

#include "image/Bitmap.h"
#include "image/FileExtension.h"
#include "image/JpegDecoder.h"

namespace zov {

namespace {

// Straight into target at its own size, else through a temporary of the
// file's size resampled to target; decode(pixels, width, height) fills one.
template <typename Decode>
void decodeSized(Bitmap& target, int fileWidth, int fileHeight, Decode decode)
{
    if (fileWidth == target.width() && fileHeight == target.height()) {
        decode(target.pixels(), target.width(), target.height());
        return;
    }
    Bitmap decoded(fileWidth, fileHeight);
    if (decode(decoded.pixels(), decoded.width(), decoded.height()))
        decoded.scaleTo(target);
}

} // namespace

void JpegLoader::loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool, bool)
{
    decodeSized(target, fileWidth, fileHeight,
                [path](std::uint32_t* pixels, int w, int h) { return decodeJpegFile(path, pixels, w, h); });
}

std::unique_ptr<Bitmap> JpegLoader::loadNew(const char*, int, int, bool) { return nullptr; }

bool JpegLoader::canLoad(const char* path) const { return endsWithTag(path, "JPG"); }

std::string JpegLoader::kindProblem(const std::uint8_t* bytes, std::size_t size) const
{
    if (bytes == nullptr || size == 0)
        return "empty file";
    return size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8 ? std::string() : "not a JPEG file";
}

void JpegLoader::decodeInto(Bitmap& target, const std::uint8_t* bytes, std::size_t size, const char* name,
                            int fileWidth, int fileHeight, bool)
{
    decodeSized(target, fileWidth, fileHeight, [=](std::uint32_t* pixels, int w, int h) {
        return decodeJpegBytesInto(bytes, size, name, pixels, w, h);
    });
}

} // namespace zov
