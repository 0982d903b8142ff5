#include "lwo/LwoReader.h"
#include "tests/image/RecordingSink.h"
#include "tests/lwo/LwobBytes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

// What a user reads when an object file is damaged: one line naming it.
namespace zov {
namespace {

using namespace zov::test;

std::string tempPath(const std::string& name)
{
    return testing::TempDir() + "/lwob_" + std::to_string(getpid()) + "_" + name;
}

std::vector<std::string> readReports(const std::string& path)
{
    RecordingSink sink;
    testing::internal::CaptureStdout(); // the reader's own lines
    LwoReader().read(path.c_str());
    testing::internal::GetCapturedStdout();
    return sink.lines;
}

TEST(LwoFileProblems, EachDamageIsOneLineNamingTheFile)
{
    const Bytes whole = lwob(chunk("PNTS", floats({0, 0, 0, 1, 0, 0, 0, 1, 0})) + chunk("SRFS", name("A")));
    Bytes lyingChunk = whole;
    lyingChunk[19] = 0xF0; // PNTS says 240 bytes
    struct Case {
        const char* what;
        Bytes bytes;
        std::string reason; // empty: no line
    };
    const Case cases[] = {
        {"whole", whole, ""},
        {"empty", {}, "empty file"},
        {"not an object", Bytes(64, 'x'), "not a LightWave object (no FORM...LWOB header)"},
        {"cut", Bytes(whole.begin(), whole.end() - 6),
         "cut short: " + std::to_string(whole.size() - 6) + " of the " + std::to_string(whole.size()) +
             " bytes its header gives"},
        {"lying chunk", lyingChunk,
         "chunk 1 claims more bytes than the object holds; it and the rest are skipped"},
    };
    const std::string path = tempPath("object.lwo");
    for (const Case& c : cases) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        }
        EXPECT_EQ(readReports(path),
                  c.reason.empty() ? std::vector<std::string>{} : std::vector<std::string>{path + ": " + c.reason})
            << c.what;
    }
    std::remove(path.c_str());
    std::filesystem::create_directory(path);
    EXPECT_EQ(readReports(path), std::vector<std::string>{path + ": is a directory"});
    std::filesystem::remove(path);
    EXPECT_EQ(readReports(path), std::vector<std::string>{path + ": no such file"});
}

TEST(LwoFileProblems, TheKitsAndPublicObjectsAreWhole)
{
    std::vector<std::filesystem::path> files{std::filesystem::path(ZOV_DATA_DIR) / "star.lwo",
                                             std::filesystem::path(ZOV_DATA_DIR) / "testkub.lwo"};
    const std::filesystem::path corpus = std::filesystem::path(ZOV_CORPUS_DIR) / "lwo";
    if (std::filesystem::is_directory(corpus))
        for (const auto& entry : std::filesystem::directory_iterator(corpus))
            if (entry.path().extension() == ".lwo")
                files.push_back(entry.path());
    for (const auto& file : files) {
        if (!std::filesystem::is_regular_file(file))
            continue;
        EXPECT_EQ(readReports(file.string()), std::vector<std::string>{}) << file;
    }
}

} // namespace
} // namespace zov
