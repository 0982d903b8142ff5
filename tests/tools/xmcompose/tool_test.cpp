#include "tools/xmcompose/Song.h"
#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace zov {
namespace {

struct Outcome {
    int status = -1;
    std::string output; // stdout and stderr
};

Outcome run(const std::string& command)
{
    Outcome r;
    std::FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
        r.output.append(buffer, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

class XmcomposeTool : public ::testing::Test {
protected:
    // ctest runs tests in parallel processes: every test writes files of its own.
    const std::string dir = std::string(ZOV_BINARY_DIR) + "/tests";
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string first = dir + "/xmcompose_" + name + "_first.xm";
    const std::string second = dir + "/xmcompose_" + name + "_second.xm";
    void TearDown() override
    {
        std::remove(first.c_str());
        std::remove(second.c_str());
    }
};

TEST_F(XmcomposeTool, WritesTheSameBytesEveryRunAndSaysWhat)
{
    const Outcome a = run(std::string(XMCOMPOSE_PATH) + " " + first);
    const Outcome b = run(std::string(XMCOMPOSE_PATH) + " " + second);
    ASSERT_EQ(a.status, 0) << a.output;
    ASSERT_EQ(b.status, 0) << b.output;
    const std::vector<std::uint8_t> bytes = readFile(first);
    EXPECT_EQ(bytes, readFile(second));
    EXPECT_EQ(bytes, encodeXm(composeShow()));

    const std::string summary = "xmcompose: wrote " + first + ": " + std::to_string(bytes.size()) +
                                " bytes, 9 orders (restart 2), 9 patterns, 12 channels, 12 instruments\n";
    EXPECT_EQ(a.output.substr(0, summary.size()), summary);
    for (const char* section : {"opening orders 0-1", "drive   orders 2-4", "light   orders 5-8",
                                "close   orders 2-3"})
        EXPECT_NE(a.output.find(section), std::string::npos) << section;
}

TEST_F(XmcomposeTool, ReportsFailuresWithAnExitCode)
{
    const Outcome usage = run(XMCOMPOSE_PATH);
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.output.find("usage: xmcompose <out.xm>"), std::string::npos);

    const Outcome unwritable = run(std::string(XMCOMPOSE_PATH) + " " + dir + "/no/such/dir/out.xm");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.output.find("wrote"), std::string::npos);
}

TEST_F(XmcomposeTool, TheBuildPutsTheModuleInData)
{
    const std::vector<std::uint8_t> built = readFile(std::string(ZOV_DATA_DIR) + "/cute5c.xm");
    if (built.empty())
        GTEST_SKIP() << "data/ not built";
    EXPECT_EQ(built, encodeXm(composeShow()));
}

// libxmp is a player of its own: it must take the module as it is.
TEST_F(XmcomposeTool, XmpPlaysTheModuleWithoutComplaint)
{
    if (run("command -v xmp").status != 0)
        GTEST_SKIP() << "xmp is not installed";
    ASSERT_EQ(run(std::string(XMCOMPOSE_PATH) + " " + first).status, 0);
    const std::string wav = dir + "/xmcompose_" + name + ".wav";
    const Outcome played = run("xmp --norc --nocmd -d wav -o " + wav + " -t 20 " + first);
    const std::vector<std::uint8_t> audio = readFile(wav);
    std::remove(wav.c_str());
    ASSERT_EQ(played.status, 0) << played.output;
    EXPECT_NE(played.output.find("Module type  : FastTracker v2.00 XM 1.04"), std::string::npos) << played.output;
    EXPECT_NE(played.output.find("Channels     : 12 "), std::string::npos) << played.output;
    EXPECT_NE(played.output.find("Instruments  : 12"), std::string::npos) << played.output;
    for (const char* complaint : {"rror", "arning", "nrecognized", "orrupt", "nvalid"})
        EXPECT_EQ(played.output.find(complaint), std::string::npos) << played.output;

    // 20 s of 16-bit stereo, not silent, never at full scale.
    ASSERT_GT(audio.size(), 44u + 4u * 44100u * 19u);
    int peak = 0;
    for (std::size_t i = 44; i + 1 < audio.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(audio[i] | (audio[i + 1] << 8)))));
    EXPECT_GT(peak, 3000);
    EXPECT_LT(peak, 32767);
}

} // namespace
} // namespace zov
