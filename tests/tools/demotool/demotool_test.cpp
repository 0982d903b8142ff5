// demotool run as a user runs it: on the kit's files, the corpus and broken
// files. Sanitizer reports end it with status 86, which no case expects.
#include "tools/datakit/Objects.h"
#include "tools/xmcompose/Song.h"
#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

const fs::path kData = ZOV_DATA_DIR;

class Demotool : public testing::Test {
protected:
    void SetUp() override
    {
        work_ = fs::path(testing::TempDir()) / ("zov_demotool_" + std::to_string(::getpid()));
        fs::remove_all(work_);
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    int run(const std::string& args)
    {
        const std::string command = "cd '" + kData.parent_path().string() +
                                    "' && ASAN_OPTIONS=exitcode=86 UBSAN_OPTIONS=exitcode=86 '" ZOV_DEMOTOOL "' " +
                                    args + " > '" + (work_ / "out").string() + "' 2> '" + (work_ / "err").string() +
                                    "'";
        const int status = std::system(command.c_str());
        out = read(work_ / "out");
        err = read(work_ / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path file(const std::string& name, const std::string& bytes)
    {
        std::ofstream(work_ / name, std::ios::binary) << bytes;
        return work_ / name;
    }
    bool says(const std::string& text) const { return out.find(text) != std::string::npos; }

    fs::path work_;
    std::string out, err;
};

TEST_F(Demotool, InfoCountsWhatTheKitWrote)
{
    if (!fs::exists(kData / "star.lwo") || !fs::exists(kData / "cute5c.xm"))
        GTEST_SKIP() << "no kit data";
    ASSERT_EQ(run("info data/star.lwo data/testkub.lwo data/cute5c.xm"), 0) << err;
    struct Object {
        const char* file;
        zov::kit::LwoObject made;
    };
    const Object objects[] = {{"data/star.lwo", zov::kit::makeStar()}, {"data/testkub.lwo", zov::kit::makeCube()}};
    for (const Object& o : objects) {
        const std::size_t at = out.find(std::string(o.file) + ": LWOB object\n");
        ASSERT_NE(at, std::string::npos) << out;
        const std::string counts = "  points: " + std::to_string(o.made.points.size()) + "\n  polygons: " +
                                   std::to_string(o.made.polygons.size()) + " (" +
                                   std::to_string(o.made.polygons.size()) + " with 3 corners)\n  surfaces: " +
                                   std::to_string(o.made.surfaces.size()) + "\n";
        EXPECT_EQ(out.find(counts, at), out.find('\n', at) + 1) << out;
        for (const zov::kit::LwoSurface& s : o.made.surfaces)
            EXPECT_TRUE(says("    \"" + s.name + "\": colour ")) << s.name;
    }
    const zov::XmModule song = zov::composeShow();
    std::string orders = "  orders: " + std::to_string(song.orders.size()) + ":";
    for (int pattern : song.orders)
        orders += " " + std::to_string(pattern);
    for (const std::string& line :
         {orders + "\n", "  restart position: " + std::to_string(song.restartPosition) + "\n",
          "  patterns: " + std::to_string(song.patterns.size()) + "\n",
          "  channels: " + std::to_string(song.channels) + "\n",
          "  instruments: " + std::to_string(song.instruments.size()) + " (",
          "  speed: " + std::to_string(song.speed) + " ticks a row, tempo " + std::to_string(song.bpm) + " BPM\n"})
        EXPECT_TRUE(says(line)) << line << " in\n" << out;
}

TEST_F(Demotool, InfoWritesNamesInUtf8AndEverySubsongInTheWordsOfItsCounts)
{
    zov::kit::LwoObject eye;
    eye.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    eye.surfaces.resize(1);
    eye.surfaces[0].name = "Silm\xe4"; // Latin-1, as LightWave wrote it
    eye.polygons = {{{0, 1, 2}, 1}};
    const std::vector<std::uint8_t> lwob = zov::kit::encodeLwob(eye);

    // Order 0 loops on itself, so order 1 is a song of its own. A row is 20 ms.
    zov::XmModule song;
    song.speed = 1;
    song.bpm = 125;
    song.orders = {0, 1};
    song.restartPosition = 1;
    song.patterns = {zov::XmPattern(16, 2), zov::XmPattern(32, 2)};
    song.patterns[0].at(15, 0).effect = 0x0B;
    zov::XmInstrument instrument;
    instrument.samples.resize(1);
    instrument.samples[0].frames.assign(64, 0);
    song.instruments = {instrument};
    const std::vector<std::uint8_t> xm = zov::encodeXm(song);

    const fs::path object = file("eye.lwo", std::string(lwob.begin(), lwob.end()));
    const fs::path module = file("two.xm", std::string(xm.begin(), xm.end()));
    ASSERT_EQ(run("info '" + object.string() + "' '" + module.string() + "'"), 0) << err;
    for (const char* line : {"    \"Silm\xc3\xa4\": colour 200 200 200", "  instruments: 1 (1 sample)\n",
                             "  speed: 1 tick a row, tempo 125 BPM\n",
                             "  duration: 0.32 s\n  subsongs: 2\n    1: 0.32 s, from order 0\n"
                             "    2: 0.64 s, from order 1\n"})
        EXPECT_TRUE(says(line)) << line << " in\n" << out;
}

TEST_F(Demotool, InfoOnEveryRealFileEitherDescribesItOrSaysWhyNot)
{
    std::vector<fs::path> files;
    for (const fs::path& dir : {fs::path(ZOV_CORPUS_DIR), kData})
        if (fs::is_directory(dir))
            for (const auto& entry : fs::recursive_directory_iterator(dir))
                if (entry.is_regular_file() && entry.path().extension() != ".md")
                    files.push_back(entry.path());
    if (files.empty())
        GTEST_SKIP() << "no corpus and no kit data";
    for (const fs::path& f : files) {
        const int status = run("info '" + f.string() + "'");
        if (status == 0)
            EXPECT_EQ(out.rfind(f.string() + ": ", 0), 0u) << out;
        else
            EXPECT_TRUE(status == 1 && err.rfind("demotool: " + f.string() + ": ", 0) == 0 &&
                        err.find('\n') + 1 == err.size())
                << f << " status " << status << ": " << err;
    }
}

TEST_F(Demotool, FilesNoReaderTakesAreRefusedWithTheReason)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", "not a file of a kind the show reads (LWOB, XM, PCX or JPEG)"},
        {"text.lwo", "just some words", "not a file of a kind the show reads (LWOB, XM, PCX or JPEG)"},
        {"new.lwo", std::string("FORM\0\0\0\4LWO2", 12),
         "a LightWave object of the newer LWO2 kind; the show reads LWOB"},
        {"short.pcx", std::string("\x0a\x05\x01\x08 short", 10), "too short for a PCX header (10 bytes of 128)"},
        {"bad.xm", "Extended Module: nothing more", "not a module the music library can read"},
        {"bad.jpg", std::string("\xff\xd8\xff\xe0\0\x10JFIF", 10), "not a JPEG picture the library can read"},
    };
    for (const Case& c : cases) {
        const fs::path path = file(c.name, c.bytes);
        EXPECT_EQ(run("info '" + path.string() + "'"), 1) << c.name;
        EXPECT_EQ(err.rfind("demotool: " + path.string() + ": " + c.reason, 0), 0u) << err;
    }
    EXPECT_EQ(run("info '" + (work_ / "absent").string() + "'"), 1);
    EXPECT_EQ(err, "demotool: " + (work_ / "absent").string() + ": No such file or directory\n");
}

TEST_F(Demotool, RendersObjectsAndPartsIntoPictures)
{
    if (!fs::exists(kData / "star.lwo"))
        GTEST_SKIP() << "no kit data";
    const fs::path star = work_ / "star.png", part = work_ / "part.png";
    ASSERT_EQ(run("render-object data/star.lwo --envmap data/envmap.jpg --rotation 30,40,0 --size 200x100 -o '" +
                  star.string() + "'"),
              0)
        << err;
    EXPECT_EQ(out, "");
    ASSERT_EQ(run("render-part 3 --time 0.5 -o '" + part.string() + "'"), 0) << err;
    // The PNG header gives width and height at bytes 16 to 23.
    const std::string a = read(star), b = read(part);
    ASSERT_GT(a.size(), 24u);
    ASSERT_GT(b.size(), 24u);
    EXPECT_EQ(a.substr(16, 8), std::string("\0\0\0\xc8\0\0\0\x64", 8));
    EXPECT_EQ(b.substr(16, 8), std::string("\0\0\x02\0\0\0\x01\x80", 8));

    EXPECT_EQ(run("render-object data/absent.lwo -o x.png"), 1);
    EXPECT_EQ(err, "demotool: data/absent.lwo: No such file or directory\n");
    for (const char* unwritable :
         {"render-part 1 --time 30 -o /no/such/y.png", "render-object data/star.lwo -o /no/such/y.png"}) {
        EXPECT_EQ(run(unwritable), 1) << unwritable;
        EXPECT_EQ(err, "demotool: cannot write /no/such/y.png: No such file or directory\n");
    }
    for (const char* wrong :
         {"render-part 5 --time 1 -o x.png", "render-part 1 -o x.png", "render-part 1 --time -1 -o x.png",
          "render-object data/star.lwo", "render-object data/star.lwo --rotation 1,2 -o x.png",
          "render-object data/star.lwo --size 0x5 -o x.png", "frobnicate", ""}) {
        EXPECT_EQ(run(wrong), 2) << wrong;
        EXPECT_EQ(err.rfind("demotool: ", 0), 0u) << err;
    }
    for (const char* help : {"--help", "info --help", "render-object --help", "render-part --help"}) {
        EXPECT_EQ(run(help), 0);
        EXPECT_EQ(out.rfind("Usage: demotool", 0), 0u) << help;
    }
}

} // namespace
