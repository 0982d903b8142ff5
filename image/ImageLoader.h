#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

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

    // Why a whole file is not a picture of this format, told by its first
    // bytes; empty when it is one.
    virtual std::string kindProblem(const std::uint8_t* bytes, std::size_t size) const = 0;
    // loadInto over a whole file held in memory: problems further in are
    // reported under name (Diagnostics.h), and what decodes is kept.
    virtual void decodeInto(Bitmap& target, const std::uint8_t* bytes, std::size_t size, const char* name,
                            int fileWidth, int fileHeight, bool scale) = 0;
};

} // namespace zov
