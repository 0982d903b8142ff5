#include "image/ImageLoaderRegistry.h"

#include "image/Bitmap.h"
#include "image/Diagnostics.h"
#include "image/JpegLoader.h"
#include "image/PcxLoader.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace zov {

ImageLoaderRegistry::ImageLoaderRegistry()
{
    loaders_[0] = std::make_unique<PcxLoader>();
    loaders_[1] = std::make_unique<JpegLoader>();
}

ImageLoaderRegistry::~ImageLoaderRegistry() = default;

ImageLoader& ImageLoaderRegistry::loader(int number)
{
    if (number < 0 || number >= count())
        throw std::out_of_range("no image loader with that number");
    return *loaders_[number];
}

int ImageLoaderRegistry::loaderNumberFor(const char* path) const
{
    for (int i = 0; i < count(); ++i)
        if (loaders_[i]->canLoad(path))
            return i;
    return -1;
}

std::unique_ptr<Bitmap> ImageLoaderRegistry::load(const char* path, int fileWidth, int fileHeight, int width,
                                                  int height, bool scale, bool flag)
{
    // A path no loader takes still gives a (zero-filled) bitmap of the size
    // asked for: callers use the result without a test.
    auto bitmap = std::make_unique<Bitmap>(width, height);
    if (const int number = loaderNumberFor(path); number >= 0)
        loaders_[number]->loadInto(*bitmap, path, fileWidth, fileHeight, scale, flag);
    return bitmap;
}

std::unique_ptr<Bitmap> ImageLoaderRegistry::loadPicture(const char* path, const PictureRequest& request)
{
    if (path == nullptr)
        return nullptr;
    const bool optional = request.otherwise != nullptr;
    const auto tell = [&](std::string reason) {
        if (optional)
            reason.append("; ").append(request.otherwise);
        reportFileProblem(path, reason);
    };
    const int number = loaderNumberFor(path);
    if (number < 0) {
        tell("no picture loader takes this name");
        return nullptr;
    }
    if (request.announce)
        std::printf("trying to load %s with loader number %i. \n", path, number);
    ImageLoader& loader = *loaders_[number];
    std::string reason;
    const auto bytes = readWholeFile(path, reason);
    if (!bytes) {
        if (optional) {
            tell(reason);
            return nullptr;
        }
        // The loader's own rule for a file it cannot open: a JPEG ends the
        // show, a PCX is left black.
        auto picture = std::make_unique<Bitmap>(request.width, request.height);
        loader.loadInto(*picture, path, request.width, request.height, request.scale, true);
        return picture;
    }
    // The show's own pictures are decoded whatever they hold, and the
    // decoder says what is wrong: the same line and pixels as from a file.
    if (optional) {
        if (const std::string problem = loader.kindProblem(bytes->data(), bytes->size()); !problem.empty()) {
            tell(problem);
            return nullptr;
        }
    }
    auto picture = std::make_unique<Bitmap>(request.width, request.height);
    loader.decodeInto(*picture, bytes->data(), bytes->size(), path, request.width, request.height, request.scale);
    return picture;
}

} // namespace zov
