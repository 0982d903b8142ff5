#include "image/PcxLoader.h"

#include "image/Bitmap.h"
#include "image/FileExtension.h"
#include "image/PcxDecoder.h"

namespace zov {

namespace {

void place(const Bitmap& decoded, Bitmap& target, bool scale)
{
    if (scale)
        decoded.scaleTo(target);
    else
        decoded.copyTo(target);
}

} // namespace

void PcxLoader::loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool)
{
    Bitmap decoded(fileWidth, fileHeight);
    if (decodePcxFile(path, decoded, fileWidth, fileHeight, false) == PcxDecodeResult::NotOpened)
        return;
    place(decoded, target, scale);
}

std::unique_ptr<Bitmap> PcxLoader::loadNew(const char* path, int width, int height, bool scale)
{
    auto bitmap = std::make_unique<Bitmap>(width, height);
    decodePcxFile(path, *bitmap, width, height, scale);
    return bitmap;
}

bool PcxLoader::canLoad(const char* path) const { return endsWithTag(path, "PCX"); }

std::string PcxLoader::kindProblem(const std::uint8_t* bytes, std::size_t size) const
{
    if (bytes == nullptr || size == 0)
        return "empty file";
    return bytes[0] == 0x0A ? std::string() : "not a PCX file";
}

void PcxLoader::decodeInto(Bitmap& target, const std::uint8_t* bytes, std::size_t size, const char* name,
                           int fileWidth, int fileHeight, bool scale)
{
    Bitmap decoded(fileWidth, fileHeight);
    decodePcxBytes(bytes, size, decoded, fileWidth, fileHeight, false, name);
    place(decoded, target, scale);
}

} // namespace zov
