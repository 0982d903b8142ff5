#include "image/ImageLoaderRegistry.h"

#include "image/Bitmap.h"
#include "image/JpegLoader.h"
#include "image/PcxLoader.h"

#include <cstdio>
#include <stdexcept>

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
    loadInto(*bitmap, path, fileWidth, fileHeight, scale, flag);
    return bitmap;
}

bool ImageLoaderRegistry::loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale,
                                   bool flag)
{
    const int number = loaderNumberFor(path);
    if (number < 0)
        return false;
    loaders_[number]->loadInto(target, path, fileWidth, fileHeight, scale, flag);
    return true;
}

bool ImageLoaderRegistry::loadIntoAnnounced(Bitmap& target, const char* path, int fileWidth, int fileHeight,
                                            bool scale, bool flag)
{
    const int number = loaderNumberFor(path);
    if (number < 0)
        return false;
    std::printf("trying to load %s with loader number %i. \n", path, number);
    loaders_[number]->loadInto(target, path, fileWidth, fileHeight, scale, flag);
    return true;
}

} // namespace zov
