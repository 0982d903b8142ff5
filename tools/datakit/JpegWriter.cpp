#include "tools/datakit/JpegWriter.h"

#include "image/Bitmap.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace zov {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf recover;
};

[[noreturn]] void onError(j_common_ptr info)
{
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->recover, 1);
}

} // namespace

bool writeJpeg(const Bitmap& bitmap, const std::string& path, int quality)
{
    return writeJpeg(pixelRectOf(bitmap), path, quality);
}

bool writeJpeg(const PixelRect& bitmap, const std::string& path, int quality)
{
    if (!bitmap.valid())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    std::vector<JSAMPLE> row(static_cast<std::size_t>(bitmap.width) * 3);
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    if (setjmp(errors.recover)) {
        jpeg_destroy_compress(&info);
        std::fclose(file);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(bitmap.width);
    info.image_height = static_cast<JDIMENSION>(bitmap.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const std::uint32_t* src = bitmap.row(static_cast<int>(info.next_scanline));
        for (int x = 0; x < bitmap.width; ++x) {
            row[x * 3 + 0] = static_cast<JSAMPLE>(src[x] >> 16);
            row[x * 3 + 1] = static_cast<JSAMPLE>(src[x] >> 8);
            row[x * 3 + 2] = static_cast<JSAMPLE>(src[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

} // namespace zov
