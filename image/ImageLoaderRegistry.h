#pragma once

#include "image/ImageLoader.h"

#include <memory>

namespace zov {

class Bitmap;

// The picture loaders in the order they are tried: number 0 PCX, number 1
// JPEG. The loader is chosen by the last three characters of the path.
class ImageLoaderRegistry {
public:
    ImageLoaderRegistry();
    ~ImageLoaderRegistry();

    int count() const { return 2; }
    ImageLoader& loader(int number);

    // A new width x height bitmap filled from the file by the first loader
    // that accepts the path; zero-filled when none does. Prints nothing.
    std::unique_ptr<Bitmap> load(const char* path, int fileWidth, int fileHeight, int width, int height, bool scale,
                                 bool flag);

    // The number of the first loader that accepts path, or -1.
    int loaderNumberFor(const char* path) const;
    // Loads into target through the first loader that accepts path; false
    // when none does. The announcing form first prints
    // "trying to load %s with loader number %i. \n".
    bool loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool flag);
    bool loadIntoAnnounced(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool flag);

private:
    std::unique_ptr<ImageLoader> loaders_[2];
};

} // namespace zov
