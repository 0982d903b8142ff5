#include "image/PngWriter.h"

#include "image/Bitmap.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace zov {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
} // namespace

bool writePng(const Bitmap& bitmap, const std::string& path, bool withAlpha)
{
    std::string error;
    if (writePng(bitmap, path, error, withAlpha))
        return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

bool writePng(const Bitmap& bitmap, const std::string& path, std::string& error, bool withAlpha)
{
    const std::string cannot = "cannot write " + path;
    if (!bitmap.hasStorage() || bitmap.width() <= 0 || bitmap.height() <= 0) {
        error = cannot + ": the bitmap is empty";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = cannot + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = cannot + ": out of memory";
        return false;
    }
    // Declared before setjmp so that a longjmp back here leaves it valid.
    const int channels = withAlpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width()) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = cannot;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()), static_cast<png_uint_32>(bitmap.height()), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint32_t* src = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            png_byte* out = &row[static_cast<std::size_t>(x) * channels];
            out[0] = static_cast<png_byte>(src[x] >> 16);
            out[1] = static_cast<png_byte>(src[x] >> 8);
            out[2] = static_cast<png_byte>(src[x]);
            if (withAlpha)
                out[3] = static_cast<png_byte>(src[x] >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    // The last bytes reach the disk only here: a full disk shows up now.
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const int flushError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!flushed || !closed) {
        error = cannot + ": " + std::strerror(flushed ? errno : flushError);
        return false;
    }
    return true;
}

} // namespace zov
