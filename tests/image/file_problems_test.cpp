#include "image/Bitmap.h"
#include "image/Diagnostics.h"
#include "image/JpegDecoder.h"
#include "image/PcxDecoder.h"
#include "tests/image/RecordingSink.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/PcxWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

// What a user reads when a picture file is damaged: one line naming the
// file and the reason.
namespace zov {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string tempPath(const std::string& name)
{
    return testing::TempDir() + "/problems_" + std::to_string(getpid()) + "_" + name;
}

Bytes jpegBytes(int w, int h)
{
    Bitmap b(w, h);
    b.fill(0x00406080);
    const std::string path = tempPath("picture.jpg");
    EXPECT_TRUE(writeJpeg(b, path));
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The frame header's height and width set to size x size.
Bytes withFrameSize(Bytes b, int size)
{
    for (std::size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = b[i + 7] = static_cast<std::uint8_t>(size >> 8);
            b[i + 6] = b[i + 8] = static_cast<std::uint8_t>(size & 0xFF);
            break;
        }
    return b;
}

TEST(FileProblems, JpegReasonsNameTheFile)
{
    const Bytes good = jpegBytes(32, 16);
    struct Case {
        const char* what;
        Bytes bytes;
        bool decodes;
        std::string line;
    };
    const Case cases[] = {
        {"good", good, true, ""},
        {"empty", {}, false, "a.jpg: empty file"},
        {"text", Bytes(40, 'x'), false, "a.jpg: not a JPEG file"},
        {"cut", Bytes(good.begin(), good.end() - 8), true,
         "a.jpg: cut short (Premature end of JPEG file), decoded what is there"},
        {"cut in the header", Bytes(good.begin(), good.begin() + 200), false,
         "a.jpg: Invalid JPEG file structure: missing SOS marker"},
        // A baseline picture needs no whole-picture buffer, so a lying size
        // reads as damaged data.
        {"lying size", withFrameSize(good, 65000), true,
         "a.jpg: Corrupt JPEG data: premature end of data segment, decoded anyway"},
    };
    for (const Case& c : cases) {
        test::RecordingSink sink;
        const auto picture = decodeJpegBytes(c.bytes.data(), c.bytes.size(), 16, 8, "a.jpg");
        EXPECT_EQ(picture.has_value(), c.decodes) << c.what;
        EXPECT_EQ(sink.lines, c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line})
            << c.what;
    }
}

TEST(FileProblems, JpegTooLargeForTheMemoryLimitSaysSo)
{
    // A progressive file keeps every coefficient: 40000 x 40000 needs far
    // more than the limit.
    Bytes b = jpegBytes(16, 16);
    for (std::size_t i = 2; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 1] = 0xC2;
            break;
        }
    for (std::size_t i = 2; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == 0xC2) {
            b[i + 5] = b[i + 7] = 40000 >> 8;
            b[i + 6] = b[i + 8] = 40000 & 0xFF;
            break;
        }
    test::RecordingSink sink;
    EXPECT_FALSE(decodeJpegBytes(b.data(), b.size(), 16, 16, "big.jpg"));
    EXPECT_EQ(sink.lines,
              std::vector<std::string>{"big.jpg: 40000x40000 is larger than the 256 MB limit for a picture"});
}

int gOpenError = 0;

TEST(FileProblems, AJpegPathThatIsADirectoryIsAnOpenFailure)
{
    const auto previous = setJpegOpenFailureHandler([](const char*, int error) { gOpenError = error; });
    const std::string dir = tempPath("folder.jpg");
    std::filesystem::create_directory(dir);
    std::uint32_t pixel = 7;
    EXPECT_FALSE(decodeJpegFile(dir.c_str(), &pixel, 1, 1));
    setJpegOpenFailureHandler(previous);
    std::filesystem::remove(dir);
    EXPECT_EQ(gOpenError, EISDIR);
    EXPECT_EQ(pixel, 7u);
}

Bytes pcxBytes(int w, int h)
{
    Bitmap b(w, h);
    b.fill(0x00102030);
    return encodePcx(b);
}

TEST(FileProblems, PcxReasonsNameTheFileOnce)
{
    const Bytes good = pcxBytes(4, 2);
    Bytes lying = good;
    lying[8] = 0xFE; // header width 255
    Bytes notPcx = good;
    notPcx[0] = 0x42;
    Bytes palette = good;
    palette[65] = 1;
    struct Case {
        const char* what;
        Bytes bytes;
        std::string line;
    };
    const Case cases[] = {
        {"good", good, ""},
        {"empty", {}, "f.pcx: empty file"},
        {"header cut", Bytes(good.begin(), good.begin() + 60),
         "f.pcx: cut short: 60 bytes, less than the 128-byte header"},
        {"data cut", Bytes(good.begin(), good.end() - 2), "f.pcx: cut short: the picture data ends early"},
        {"not pcx", notPcx, "f.pcx: not a PCX file"},
        {"palette", palette, "f.pcx: not a 24-bit PCX picture (1 planes of 8 bits), read as one anyway"},
        {"lying size", lying, "f.pcx: the header says 255x2, read as 4x2"},
    };
    for (const Case& c : cases) {
        test::RecordingSink sink;
        Bitmap target(4, 2);
        decodePcxBytes(c.bytes.data(), c.bytes.size(), target, 4, 2, false, "f.pcx");
        EXPECT_EQ(sink.lines, c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line})
            << c.what;
    }
}

TEST(FileProblems, UnreadableFilesSayWhy)
{
    const std::string dir = tempPath("dir.pcx");
    std::filesystem::create_directory(dir);
    test::RecordingSink sink;
    Bitmap target(2, 2);
    EXPECT_EQ(decodePcxFile(dir.c_str(), target, 2, 2, false), PcxDecodeResult::NotOpened);
    EXPECT_EQ(decodePcxFile(tempPath("missing.pcx").c_str(), target, 2, 2, false), PcxDecodeResult::NotOpened);
    std::filesystem::remove(dir);
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{dir + ": is a directory", tempPath("missing.pcx") + ": no such file"}));
}

} // namespace
} // namespace zov
