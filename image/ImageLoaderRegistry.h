#pragma once

#include "image/ImageLoader.h"

#include <memory>

namespace zov {

class Bitmap;

// How a picture is asked for. The file holds width x height pixels (no
// loader reads a size from a header) and becomes a bitmap of that size.
struct PictureRequest {
    int width = 0;
    int height = 0;
    // PCX: resampled into the bitmap rather than copied (the textures).
    bool scale = false;
    // Prints "trying to load %s with loader number %i. \n" once the loader
    // is chosen.
    bool announce = false;
    // Set where the caller goes on without the picture ("the surface keeps
    // its colour"): a file that is missing, unreadable or not a picture of
    // its kind (its first bytes) then gives none, and this is added to the
    // line that says why. Unset, such a file gives what decodes from it,
    // black where nothing does, and a JPEG that cannot be opened ends the
    // show (setJpegOpenFailureHandler).
    const char* otherwise = nullptr;
};

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

    // The picture at path, read once, or none: when path is null, and, said
    // through reportFileProblem, when no loader takes the name (or, with
    // request.otherwise, when the file is missing, unreadable or of another
    // kind). Problems inside a file are reported by the loader, and what
    // decodes is kept.
    std::unique_ptr<Bitmap> loadPicture(const char* path, const PictureRequest& request);

private:
    std::unique_ptr<ImageLoader> loaders_[2];
};

} // namespace zov
