#include "image/Bitmap.h"
#include "image/PcxDecoder.h"
#include "tools/demotool/FileInfo.h"
#include "tools/demotool/QuietStdout.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace zov::tool {

namespace {

unsigned le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

// Why the show's PCX loader cannot read the picture, or "" when it can: it
// reads 24-bit pictures (three planes of 8 bits, run-length coded, lines as
// wide as the picture) and needs all their data.
std::string pcxRefusal(const std::vector<std::uint8_t>& b, int width, int height)
{
    const unsigned bits = b[3], planes = b[65], bytesPerLine = le16(b, 66);
    if (b[2] != 1)
        return "it reads run-length coded pictures only";
    if (bits != 8 || planes != 3)
        return "it reads 8 bits in 3 planes, this picture has " + std::to_string(bits) + " in " +
               std::to_string(planes);
    if (width <= 0 || height <= 0)
        return "the window is empty";
    if (bytesPerLine != static_cast<unsigned>(width))
        return "its lines are " + counted(bytesPerLine, "byte") + " for " + counted(width, "pixel") +
               ", and the loader takes them as wide as the picture";
    // A run of two bytes makes at most 63: less data cannot fill the picture.
    const std::size_t needed = 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (needed > 32 * b.size())
        return "the data is too short for the picture";
    QuietStdout quiet;
    Bitmap picture(width, height);
    if (decodePcxBytes(b.data(), b.size(), picture, width, height, false) != PcxDecodeResult::Complete)
        return "the data ends before the picture does";
    return "";
}

// The coding process, from the first start-of-frame marker.
std::string jpegProcess(const std::vector<std::uint8_t>& b)
{
    std::size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        const std::uint8_t marker = b[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        switch (marker) {
        case 0xC0: return "baseline";
        case 0xC1: return "extended sequential, Huffman coded";
        case 0xC2: return "progressive, Huffman coded";
        case 0xC3: return "lossless, Huffman coded";
        case 0xC9: return "extended sequential, arithmetic coded";
        case 0xCA: return "progressive, arithmetic coded";
        case 0xCB: return "lossless, arithmetic coded";
        case 0xC5: case 0xC6: case 0xC7: case 0xCD: case 0xCE: case 0xCF: return "hierarchical";
        default: break;
        }
        at += 2 + ((b[at + 2] << 8) | b[at + 3]);
    }
    return "unknown";
}

const char* colourSpaceName(J_COLOR_SPACE space)
{
    switch (space) {
    case JCS_GRAYSCALE: return "greyscale";
    case JCS_RGB: return "RGB";
    case JCS_YCbCr: return "YCbCr";
    case JCS_CMYK: return "CMYK";
    case JCS_YCCK: return "YCCK";
    default: return "unknown";
    }
}

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->back, 1);
}

void jpegQuiet(j_common_ptr, int) {}

} // namespace

bool describePcx(const std::vector<std::uint8_t>& b, std::string& out, std::string& problem)
{
    if (b.size() < 128) {
        problem = "too short for a PCX header (" + counted(b.size(), "byte") + " of 128)";
        return false;
    }
    const int xMin = static_cast<int>(le16(b, 4)), yMin = static_cast<int>(le16(b, 6));
    const int xMax = static_cast<int>(le16(b, 8)), yMax = static_cast<int>(le16(b, 10));
    const int width = xMax - xMin + 1, height = yMax - yMin + 1;
    char text[512];
    std::snprintf(text, sizeof text,
                  "PCX picture\n  version: %u\n  encoding: %s\n  bits per pixel: %u\n  planes: %u\n"
                  "  bytes per line: %u\n  window: %d %d to %d %d (%d x %d)\n  resolution: %u x %u dpi\n",
                  b[1], b[2] == 1 ? "run-length" : "none", b[3], b[65], le16(b, 66), xMin, yMin, xMax, yMax,
                  std::max(width, 0), std::max(height, 0), le16(b, 12), le16(b, 14));
    out += text;
    const std::string refusal = pcxRefusal(b, width, height);
    out += "  the show's loader: ";
    out += refusal.empty() ? "reads it\n" : "cannot read it: " + refusal + "\n";
    return true;
}

bool describeJpeg(const std::vector<std::uint8_t>& b, std::string& out, std::string& problem)
{
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegErrorExit;
    errors.manager.emit_message = jpegQuiet;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        problem = std::string("not a JPEG picture the library can read (") + errors.message + ")";
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, b.data(), static_cast<unsigned long>(b.size()));
    jpeg_read_header(&info, TRUE);
    char text[256];
    std::snprintf(text, sizeof text,
                  "JPEG picture\n  size: %u x %u\n  components: %d\n  coding: %s\n  colour space: %s\n", info.image_width, info.image_height, info.num_components, jpegProcess(b).c_str(),
                  colourSpaceName(info.jpeg_color_space));
    jpeg_destroy_decompress(&info);
    out += text;
    return true;
}

} // namespace zov::tool
