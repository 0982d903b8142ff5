#include "image/JpegDecoder.h"

#include "image/Diagnostics.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include <jpeglib.h>
#include <jerror.h>

namespace zov {

namespace {

// Bounds what a hostile header can make the library allocate (progressive
// files keep every coefficient); a 4000 x 4000 colour picture needs ~100 MB.
constexpr long kMaxLibraryMemory = 256L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf recover;
    const char* name;
    // The first warning, told only when no error follows: one line a file.
    char warning[JMSG_LENGTH_MAX + 64];
};

struct Session {
    jpeg_decompress_struct info;
    ErrorManager errors;
};

std::string libraryText(j_common_ptr info)
{
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    return text;
}

// The library's wording for the cases a user meets most, else its own text.
std::string errorReason(j_common_ptr info)
{
    switch (info->err->msg_code) {
    case JERR_INPUT_EMPTY: return "empty file";
    case JERR_NO_SOI: return "not a JPEG file";
    case JERR_NO_BACKING_STORE:
    case JERR_OUT_OF_MEMORY:
        if (info->is_decompressor) {
            const auto* d = reinterpret_cast<j_decompress_ptr>(info);
            return std::to_string(d->image_width) + "x" + std::to_string(d->image_height) +
                   " is larger than the " + std::to_string(kMaxLibraryMemory >> 20) + " MB limit for a picture";
        }
        break;
    default: break;
    }
    return libraryText(info);
}

[[noreturn]] void returnToDecoder(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    reportFileProblem(errors->name, errorReason(info));
    std::longjmp(errors->recover, 1);
}

// Level -1 is a warning: damaged data decoded anyway. Only the first is
// kept, as a broken file can raise one for every block.
void keepWarning(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level >= 0 || errors->warning[0] != 0)
        return;
    const std::string text = libraryText(info);
    const std::string line = info->err->msg_code == JWRN_JPEG_EOF ? "cut short (" + text + "), decoded what is there"
                                                                   : text + ", decoded anyway";
    std::snprintf(errors->warning, sizeof errors->warning, "%s", line.c_str());
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
template <typename AttachSource>
bool runDecoder(Session& s, AttachSource attachSource, JpegPicture& picture, int maxHeight)
{
    s.info.err = jpeg_std_error(&s.errors.base);
    s.errors.base.error_exit = returnToDecoder;
    s.errors.base.emit_message = keepWarning;
    if (setjmp(s.errors.recover)) {
        jpeg_destroy_decompress(&s.info);
        return false;
    }
    jpeg_create_decompress(&s.info);
    s.info.mem->max_memory_to_use = kMaxLibraryMemory;
    attachSource(s.info);
    jpeg_read_header(&s.info, TRUE);
    // Colour files come out as RGB by default already; asking for it makes
    // CMYK and other layouts fail with the library's message instead of
    // being read as three bytes a pixel.
    if (s.info.jpeg_color_space != JCS_GRAYSCALE)
        s.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&s.info);
    const int components = s.info.output_components;
    if (components != 1 && components != 3) {
        reportFileProblem(s.errors.name, "unsupported colour layout");
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
    reportFileProblem(path, openFailureReason(errorNumber));
    std::exit(1);
}

template <typename AttachSource>
std::optional<JpegPicture> decode(AttachSource attachSource, int maxWidth, int maxHeight, const char* name)
{
    JpegPicture picture;
    maxHeight = std::max(maxHeight, 0);
    picture.stride = std::max(maxWidth, 0);
    picture.pixels.assign(static_cast<std::size_t>(picture.stride) * static_cast<std::size_t>(maxHeight), 0);
    Session session{};
    session.errors.name = name ? name : "JPEG";
    if (!runDecoder(session, attachSource, picture, maxHeight))
        return std::nullopt;
    if (session.errors.warning[0] != 0)
        reportFileProblem(session.errors.name, session.errors.warning);
    return picture;
}

bool isDirectory(std::FILE* file)
{
    struct stat info {};
    return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

JpegOpenFailureHandler gOpenFailure = endOnOpenFailure;

bool copyInto(const std::optional<JpegPicture>& picture, std::uint32_t* pixels, int width)
{
    if (!picture)
        return false;
    for (int y = 0; y < picture->height; ++y)
        std::memcpy(pixels + static_cast<std::size_t>(y) * width,
                    picture->pixels.data() + static_cast<std::size_t>(y) * picture->stride,
                    static_cast<std::size_t>(picture->width) * sizeof(std::uint32_t));
    return true;
}

} // namespace

std::optional<JpegPicture> decodeJpeg(std::FILE* file, int maxWidth, int maxHeight, const char* name)
{
    if (!file)
        return std::nullopt;
    auto picture = decode([file](jpeg_decompress_struct& info) { jpeg_stdio_src(&info, file); }, maxWidth,
                          maxHeight, name);
    std::fclose(file);
    return picture;
}

std::optional<JpegPicture> decodeJpegBytes(const std::uint8_t* bytes, std::size_t size, int maxWidth,
                                           int maxHeight, const char* name)
{
    // The library's memory source takes an empty buffer for an error of its
    // own, with a less telling message.
    if (!bytes || size == 0) {
        reportFileProblem(name ? name : "JPEG", "empty file");
        return std::nullopt;
    }
    return decode(
        [bytes, size](jpeg_decompress_struct& info) {
            jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
        },
        maxWidth, maxHeight, name);
}

bool decodeJpegFile(const char* path, std::uint32_t* pixels, int width, int height)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file || isDirectory(file)) {
        const int errorNumber = !path ? EINVAL : file ? EISDIR : errno;
        if (file)
            std::fclose(file);
        gOpenFailure(path ? path : "(null)", errorNumber);
        return false;
    }
    if (!pixels)
        width = height = 0;
    return copyInto(decodeJpeg(file, width, height, path), pixels, width);
}

bool decodeJpegBytesInto(const std::uint8_t* bytes, std::size_t size, const char* name, std::uint32_t* pixels,
                         int width, int height)
{
    if (!pixels)
        width = height = 0;
    return copyInto(decodeJpegBytes(bytes, size, width, height, name), pixels, width);
}

JpegOpenFailureHandler setJpegOpenFailureHandler(JpegOpenFailureHandler handler)
{
    JpegOpenFailureHandler previous = gOpenFailure;
    gOpenFailure = handler ? handler : endOnOpenFailure;
    return previous;
}

} // namespace zov
