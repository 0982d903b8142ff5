#include "image/JpegDecoder.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace zov {

namespace {

// Bounds what a hostile header can make the library allocate (progressive
// files keep every coefficient); a 4000 x 4000 colour picture needs ~100 MB.
constexpr long kMaxLibraryMemory = 256L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf recover;
};

struct Session {
    jpeg_decompress_struct info;
    ErrorManager errors;
};

[[noreturn]] void returnToDecoder(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recover, 1);
}

void convertRow(const JSAMPLE* in, int components, std::uint32_t* out, int count)
{
    for (int x = 0; x < count; ++x, in += components) {
        const std::uint32_t r = in[0];
        const std::uint32_t g = components == 3 ? in[1] : r;
        const std::uint32_t b = components == 3 ? in[2] : r;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
}

// Everything that can longjmp happens here; the session and the picture
// live in the caller, so nothing of this frame is needed after a jump.
bool runDecoder(Session& s, std::FILE* file, JpegPicture& picture, int maxHeight)
{
    s.info.err = jpeg_std_error(&s.errors.base);
    s.errors.base.error_exit = returnToDecoder;
    if (setjmp(s.errors.recover)) {
        jpeg_destroy_decompress(&s.info);
        return false;
    }
    jpeg_create_decompress(&s.info);
    s.info.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_stdio_src(&s.info, file);
    jpeg_read_header(&s.info, TRUE);
    // Colour files come out as RGB by default already; asking for it makes
    // CMYK and other layouts fail with the library's message instead of
    // being read as three bytes a pixel.
    if (s.info.jpeg_color_space != JCS_GRAYSCALE)
        s.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&s.info);
    const int components = s.info.output_components;
    if (components != 1 && components != 3) {
        jpeg_destroy_decompress(&s.info);
        return false;
    }
    picture.fileWidth = static_cast<int>(s.info.output_width);
    picture.fileHeight = static_cast<int>(s.info.output_height);
    picture.width = std::min(picture.fileWidth, picture.stride);
    picture.height = std::min(picture.fileHeight, maxHeight);
    JSAMPARRAY line = (*s.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.info), JPOOL_IMAGE,
                                                  s.info.output_width * components, 1);
    while (s.info.output_scanline < s.info.output_height) {
        const int y = static_cast<int>(s.info.output_scanline);
        if (y >= picture.height) {
            // The rows below are never used: stop without finishing.
            jpeg_destroy_decompress(&s.info);
            return true;
        }
        jpeg_read_scanlines(&s.info, line, 1);
        convertRow(line[0], components, picture.pixels.data() + static_cast<std::size_t>(y) * picture.stride,
                   picture.width);
    }
    jpeg_finish_decompress(&s.info);
    jpeg_destroy_decompress(&s.info);
    return true;
}

[[noreturn]] void endOnOpenFailure(const char* path, int errorNumber)
{
    std::fprintf(stderr, "cannot open %s: %s\n", path, std::strerror(errorNumber));
    std::exit(1);
}

JpegOpenFailureHandler gOpenFailure = endOnOpenFailure;

} // namespace

std::optional<JpegPicture> decodeJpeg(std::FILE* file, int maxWidth, int maxHeight)
{
    if (!file)
        return std::nullopt;
    JpegPicture picture;
    maxHeight = std::max(maxHeight, 0);
    picture.stride = std::max(maxWidth, 0);
    picture.pixels.assign(static_cast<std::size_t>(picture.stride) * static_cast<std::size_t>(maxHeight), 0);
    Session session{};
    const bool ok = runDecoder(session, file, picture, maxHeight);
    std::fclose(file);
    if (!ok)
        return std::nullopt;
    return picture;
}

bool decodeJpegFile(const char* path, std::uint32_t* pixels, int width, int height)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        gOpenFailure(path ? path : "(null)", path ? errno : EINVAL);
        return false;
    }
    if (!pixels)
        width = height = 0;
    const std::optional<JpegPicture> picture = decodeJpeg(file, width, height);
    if (!picture)
        return false;
    for (int y = 0; y < picture->height; ++y)
        std::memcpy(pixels + static_cast<std::size_t>(y) * width,
                    picture->pixels.data() + static_cast<std::size_t>(y) * picture->stride,
                    static_cast<std::size_t>(picture->width) * sizeof(std::uint32_t));
    return true;
}

JpegOpenFailureHandler setJpegOpenFailureHandler(JpegOpenFailureHandler handler)
{
    JpegOpenFailureHandler previous = gOpenFailure;
    gOpenFailure = handler ? handler : endOnOpenFailure;
    return previous;
}

} // namespace zov
