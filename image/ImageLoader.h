#pragma once

#include <memory>

namespace zov {

class Bitmap;

// Turns one picture file into pixels. The caller always states the size of
// the picture in the file; no loader reads a size from a header.
class ImageLoader {
public:
    virtual ~ImageLoader() = default;

    // Fills target from the file, which holds fileWidth x fileHeight pixels.
    virtual void loadInto(Bitmap& target, const char* path, int fileWidth, int fileHeight, bool scale, bool flag) = 0;
    // A new bitmap of width x height from the file, or none.
    virtual std::unique_ptr<Bitmap> loadNew(const char* path, int width, int height, bool scale) = 0;
    // Whether the last three characters of path name this loader's format.
    virtual bool canLoad(const char* path) const = 0;
};

} // namespace zov
