// Captures of the show made by demoplay itself, from the data kit the build
// writes: short runs at a low frame rate.
#include "show/capture/ShowLength.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kDataRoot = fs::path(ZOV_DATA_DIR).parent_path();

struct Row {
    int frame;
    std::string seconds, part, order, row;
};

class Capture : public testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kDataRoot / "data/cute5c.xm"))
            GTEST_SKIP() << "no data kit at " << kDataRoot;
        work_ = fs::path(testing::TempDir()) / ("zov_capture_" + std::to_string(::getpid()));
        fs::remove_all(work_);
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    // demoplay with args from the data root; its exit status.
    int demoplay(const std::string& args, const std::string& environment = "")
    {
        return program(ZOV_DEMOPLAY, args, environment);
    }
    int program(const std::string& path, const std::string& args, const std::string& environment = "")
    {
        const std::string command = "cd '" + kDataRoot.string() + "' && " + environment + " '" + path + "' " +
                                    args + " > '" + (work_ / "stdout").string() + "' 2> '" +
                                    (work_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string capture(const std::string& name, const std::string& more)
    {
        const fs::path dir = work_ / name;
        EXPECT_EQ(demoplay("--capture '" + dir.string() + "' --capture-fps 10 " + more), 0) << stderrText();
        return dir.string();
    }
    std::string stderrText() const { return text(work_ / "stderr"); }
    static std::string text(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<Row> positions(const std::string& dir)
    {
        std::ifstream in(dir + "/positions.tsv");
        std::string header;
        std::getline(in, header);
        EXPECT_EQ(header, "frame\tseconds\tpart\torder\trow");
        std::vector<Row> rows;
        Row r;
        while (in >> r.frame >> r.seconds >> r.part >> r.order >> r.row)
            rows.push_back(r);
        return rows;
    }

    // demoplay started with args from the data root, left running: its id,
    // and that of its process group.
    pid_t startDemoplay(const std::string& args)
    {
        const std::string command = "cd '" + kDataRoot.string() + "' && exec '" + ZOV_DEMOPLAY + "' " + args +
                                    " > '" + (work_ / "stdout").string() + "' 2> '" + (work_ / "stderr").string() +
                                    "'";
        // Whatever this process was given, the child hears the signals.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        // A process group of its own, as a terminal gives a command.
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, &attributes, const_cast<char**>(argv), environ), 0);
        posix_spawnattr_destroy(&attributes);
        return pid;
    }
    // A folder holding exactly `frames` whole frames: their pictures and no
    // others, no picture cut short, a line each, the WAV's sizes true to its
    // samples (4410 a frame: 10 frames a second).
    void expectWholeFrames(const fs::path& dir, std::int64_t frames)
    {
        std::int64_t pictures = 0;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(name.find(".part"), std::string::npos) << name;
            int frame = -1;
            if (std::sscanf(name.c_str(), "frame-%d.png", &frame) == 1) {
                EXPECT_LT(frame, frames) << name;
                ++pictures;
            }
        }
        EXPECT_EQ(pictures, frames);
        const std::vector<Row> rows = positions(dir.string());
        EXPECT_EQ(static_cast<std::int64_t>(rows.size()), frames);
        const std::string lines = text(dir / "positions.tsv");
        EXPECT_EQ(lines.back(), '\n');
        const std::string wav = text(dir / "music.wav");
        const auto dataBytes = static_cast<std::size_t>(frames) * 4410u * 4u;
        ASSERT_EQ(wav.size(), 44u + dataBytes);
        const auto u32 = [&wav](std::size_t at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | static_cast<std::uint8_t>(wav[at + static_cast<std::size_t>(i)]);
            return v;
        };
        EXPECT_EQ(u32(4), 36u + dataBytes);
        EXPECT_EQ(u32(40), dataBytes);
    }

    fs::path work_;
};

TEST_F(Capture, TwoCapturesOfTheSameDataAreTheSameBytes)
{
    const std::string a = capture("a", "--frames 30");
    const std::string b = capture("b", "--frames 30");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(a))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 32u); // 30 frames, the music and the positions
    for (const std::string& name : names)
        EXPECT_TRUE(text(fs::path(a) / name) == text(fs::path(b) / name)) << name;

    // 4410 samples a frame at 10 frames a second: 16-bit stereo after the header.
    const std::string wav = text(fs::path(a) / "music.wav");
    ASSERT_EQ(wav.size(), 44u + 30u * 4410u * 4u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    const auto dataBytes = static_cast<std::uint32_t>(static_cast<std::uint8_t>(wav[40]) |
                                                      static_cast<std::uint8_t>(wav[41]) << 8 |
                                                      static_cast<std::uint8_t>(wav[42]) << 16 |
                                                      static_cast<std::uint8_t>(wav[43]) << 24);
    EXPECT_EQ(dataBytes, 30u * 4410u * 4u);
}

TEST_F(Capture, OverwriteReplacesAnEarlierCapturesFilesAndNothingElse)
{
    const fs::path dir(capture("reused", "--frames 20"));
    std::ofstream(dir / "notes.txt") << "mine";
    EXPECT_EQ(demoplay("--capture '" + dir.string() + "' --capture-fps 10 --frames 10"), 1);
    EXPECT_EQ(stderrText(), "demoplay: " + dir.string() +
                                " already holds a capture: --overwrite replaces its frames, music.wav and "
                                "positions.tsv\n");
    EXPECT_TRUE(fs::exists(dir / "frame-000019.png"));

    capture("reused", "--frames 10 --overwrite");
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 13u); // 10 frames, the music, the positions and the notes
    EXPECT_FALSE(fs::exists(dir / "frame-000010.png"));
    EXPECT_EQ(text(dir / "notes.txt"), "mine");
    EXPECT_EQ(positions(dir.string()).size(), 10u);
}

TEST_F(Capture, EachFrameIsAtTheRowTheModuleReachesAtItsFirstSample)
{
    const std::vector<Row> rows = positions(capture("rows", "--frames 80"));
    ASSERT_EQ(rows.size(), 80u);

    std::ifstream file(kDataRoot / "data/cute5c.xm", std::ios::binary);
    std::ostringstream log;
    openmpt::module reference(file, log);
    std::vector<float> scratch(2 * 4410);
    int changes = 0;
    for (int k = 0; k < 80; ++k) {
        if (k > 0)
            reference.read_interleaved_stereo(44100, 4410, scratch.data());
        const std::string where = std::to_string(reference.get_current_order()) + "/" +
                                  std::to_string(reference.get_current_row());
        EXPECT_EQ(rows[k].order + "/" + rows[k].row, where) << "frame " << k;
        EXPECT_EQ(rows[k].frame, k);
        changes += k > 0 && rows[k].row != rows[k - 1].row;
    }
    EXPECT_EQ(rows[79].seconds, "7.900000");
    EXPECT_GT(changes, 50);
}

TEST_F(Capture, StartOrderOpensOnItsPartAndPartsChangeOnTheFrameOfTheirOrder)
{
    struct Case {
        int order;
        const char* part;
    };
    for (const Case c : {Case{3, "2"}, Case{5, "3"}}) {
        const std::string order = std::to_string(c.order);
        const std::vector<Row> rows = positions(capture("start" + order, "--frames 1 --start-order " + order));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].part, c.part) << "order " << c.order;
        EXPECT_EQ(rows[0].order, std::to_string(c.order));
    }
    // Order 1 lasts 7.68 s: the second part begins on the first frame at order 2.
    const std::vector<Row> rows = positions(capture("change", "--frames 80 --start-order 1"));
    ASSERT_EQ(rows.size(), 80u);
    for (const Row& r : rows)
        EXPECT_EQ(r.part, r.order == "1" ? "1" : "2") << "frame " << r.frame;
    EXPECT_EQ(rows.back().order, "2");

    EXPECT_EQ(demoplay("--headless --start-order 9"), 2);
    EXPECT_EQ(stderrText(), "demoplay: --start-order 9: the music's orders are 0 to 8\n");
}

TEST_F(Capture, AStretchOfTheShowHasTheWholeCapturesFramesAtItsTimes)
{
    // At 10 fps: the second part begins on frame 154 (15.4 s).
    const std::string whole = capture("whole", "--to 20");
    const std::string part = capture("part", "--from part:2 --to 20");
    const std::vector<Row> rows = positions(part);
    ASSERT_EQ(positions(whole).size(), 200u);
    ASSERT_EQ(rows.size(), 46u);
    EXPECT_EQ(rows.front().seconds, "15.400000");
    EXPECT_EQ(rows.front().part, "2");
    for (int k : {0, 1, 45}) {
        char a[32], b[32];
        std::snprintf(a, sizeof a, "/frame-%06d.png", k);
        std::snprintf(b, sizeof b, "/frame-%06d.png", 154 + k);
        EXPECT_EQ(text(part + a), text(whole + b)) << "frame " << k;
    }
    EXPECT_EQ(demoplay("--capture '" + (work_ / "bad").string() + "' --from part:2 --to 15"), 1);
    EXPECT_EQ(stderrText(), "demoplay: '--to' comes no later than '--from': no frame between them\n");
}

TEST_F(Capture, AWholeCaptureEndsWhereTheHeadlessShowEnds)
{
    // Two frames a second: the whole show, its four parts in turn, then three
    // seconds of the end picture without music.
    const fs::path dir = work_ / "whole";
    ASSERT_EQ(demoplay("--capture '" + dir.string() + "' --capture-fps 2"), 0) << stderrText();
    const std::vector<Row> rows = positions(dir.string());
    std::string parts;
    for (const Row& r : rows)
        if (parts.empty() || parts.back() != r.part.back())
            parts += r.part.back();
    EXPECT_EQ(parts, "1234d"); // "end"
    ASSERT_GE(rows.size(), 6u);
    for (std::size_t i = rows.size() - 6; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].part + rows[i].order + rows[i].row, "end--") << "frame " << i;
    EXPECT_EQ(rows[rows.size() - 7].part, "4");
    const std::string wav = text(dir / "music.wav");
    EXPECT_EQ(wav.size(), 44u + rows.size() * 22050u * 4u);
    // The music ends in a fade, not a click: no big step into the silence.
    std::vector<std::int16_t> samples((wav.size() - 44) / 2);
    std::memcpy(samples.data(), wav.data() + 44, samples.size() * 2);
    std::size_t lastSound = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0)
            lastSound = i;
    ASSERT_GT(lastSound, 20u);
    ASSERT_LT(lastSound + 2, samples.size());
    for (std::size_t i = lastSound - 20; i <= lastSound; ++i)
        EXPECT_LE(std::abs(samples[i + 2] - samples[i]), 1000) << "sample " << i << " of " << lastSound;

    const fs::path before = fs::current_path();
    fs::current_path(kDataRoot);
    EXPECT_EQ(zov::estimateShowFrames(2, 0), static_cast<std::int64_t>(rows.size()));
    fs::current_path(before);
}

TEST_F(Capture, VideoWithoutFfmpegSaysSoBeforeDrawingAnything)
{
    const fs::path dir = work_ / "novideo";
    EXPECT_EQ(demoplay("--capture '" + dir.string() + "' --video '" + (work_ / "v.mp4").string() + "'",
                       "PATH=/nonexistent"),
              1);
    EXPECT_EQ(stderrText(),
              "demoplay: --video needs ffmpeg, and there is none on the PATH (Debian package ffmpeg)\n");
    EXPECT_FALSE(fs::exists(dir));
    EXPECT_EQ(text(work_ / "stdout"), "");
}

TEST_F(Capture, VideoHasTheFramesRateSizeAndTheMusic)
{
    if (std::system("command -v ffmpeg > /dev/null && command -v ffprobe > /dev/null") != 0)
        GTEST_SKIP() << "no ffmpeg or ffprobe";
    const fs::path video = work_ / "show.mp4";
    ASSERT_EQ(demoplay("--video '" + video.string() + "' --capture-fps 10 --frames 20"), 0) << stderrText();
    const std::string probe = "ffprobe -v error -count_frames -show_entries "
                              "stream=codec_type,codec_name,width,height,r_frame_rate,pix_fmt,nb_read_frames "
                              "-of default=noprint_wrappers=1 '" +
                              video.string() + "' > '" + (work_ / "probe").string() + "'";
    ASSERT_EQ(std::system(probe.c_str()), 0);
    const std::string streams = text(work_ / "probe");
    for (const char* line : {"codec_name=h264\n", "width=512\n", "height=384\n", "pix_fmt=yuv420p\n",
                             "r_frame_rate=10/1\n", "nb_read_frames=20\n", "codec_type=audio\n"})
        EXPECT_NE(streams.find(line), std::string::npos) << line << " in\n" << streams;
    // Only the video is left behind.
    EXPECT_FALSE(fs::exists(video.string() + ".picture.mp4"));
    EXPECT_FALSE(fs::exists(video.string() + ".music.wav"));
}

TEST_F(Capture, EachKindOfVideoHasItsSizePixelsRateColourTagsAndTheMusicInStep)
{
    if (std::system("command -v ffmpeg > /dev/null && command -v ffprobe > /dev/null") != 0)
        GTEST_SKIP() << "no ffmpeg or ffprobe";
    struct Case {
        const char* name;
        const char* options;
        std::int64_t samples; // of the WAV, at 44100 a second
        std::vector<const char*> lines;
        bool lossless;
    };
    const std::vector<const char*> bt709 = {"color_space=bt709", "color_range=tv", "color_transfer=bt709",
                                            "color_primaries=bt709", "pix_fmt=yuv420p", "codec_name=aac"};
    const Case cases[] = {
        {"scaled", "--capture-fps 10 --frames 6 --video-scale 2", 6 * 4410,
         {"width=1024", "height=768", "r_frame_rate=10/1", "nb_read_frames=6"}, false},
        {"ntsc", "--capture-fps 60000/1001 --frames 30", 22072, // 30 x 735.735
         {"width=512", "height=384", "r_frame_rate=60000/1001", "nb_read_frames=30"}, false},
        {"lossless", "--capture-fps 10 --frames 6 --video-lossless", 6 * 4410,
         {"width=512", "height=384", "nb_read_frames=6", "profile=High 4:4:4 Predictive", "pix_fmt=gbrp",
          "color_space=gbr", "color_range=pc", "color_transfer=bt709", "color_primaries=bt709", "codec_name=alac"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = work_ / c.name, video = work_ / (std::string(c.name) + ".mp4");
        ASSERT_EQ(demoplay("--capture '" + dir.string() + "' --video '" + video.string() + "' " + c.options), 0)
            << stderrText();
        const std::string probe = "ffprobe -v error -count_frames -show_entries stream=codec_name,profile,width,"
                                  "height,r_frame_rate,pix_fmt,nb_read_frames,color_range,color_space,"
                                  "color_transfer,color_primaries -of default=noprint_wrappers=1 '" +
                                  video.string() + "' > '" + (work_ / "probe").string() + "'";
        ASSERT_EQ(std::system(probe.c_str()), 0);
        const std::string streams = text(work_ / "probe");
        std::vector<const char*> lines = c.lines;
        if (!c.lossless)
            lines.insert(lines.end(), bt709.begin(), bt709.end());
        for (const char* line : lines)
            EXPECT_NE(streams.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << streams;

        // The video's sound against the WAV: the same samples when lossless;
        // AAC's best match at no shift over the first tenth of a second.
        const std::string wav = text(dir / "music.wav");
        ASSERT_EQ(wav.size(), 44u + 4u * static_cast<std::size_t>(c.samples));
        const fs::path raw = work_ / "sound.raw";
        ASSERT_EQ(std::system(("ffmpeg -v error -y -i '" + video.string() + "' -map 0:a -f s16le -ac 2 -ar 44100 '" +
                               raw.string() + "'")
                                  .c_str()),
                  0);
        const std::string sound = text(raw), music = wav.substr(44);
        if (c.lossless) {
            EXPECT_TRUE(sound == music) << sound.size() << " bytes against " << music.size();
            // And the first frame's pixels as drawn.
            const auto rgb = [&](const fs::path& in, const char* name) {
                const fs::path out = work_ / name;
                EXPECT_EQ(std::system(("ffmpeg -v error -y -i '" + in.string() +
                                       "' -frames:v 1 -f rawvideo -pix_fmt rgb24 '" + out.string() + "'")
                                          .c_str()),
                          0);
                return text(out);
            };
            const std::string drawn = rgb(dir / "frame-000000.png", "drawn.rgb");
            EXPECT_EQ(drawn.size(), 512u * 384u * 3u);
            EXPECT_TRUE(rgb(video, "encoded.rgb") == drawn);
            continue;
        }
        ASSERT_GE(sound.size(), 4u * 4410u + 4096u);
        const auto left = [](const std::string& bytes, std::size_t frame) {
            std::int16_t v;
            std::memcpy(&v, bytes.data() + 4 * frame, 2);
            return static_cast<double>(v);
        };
        int bestShift = 0;
        double best = -1e300;
        for (int shift = -1024; shift <= 1024; ++shift) {
            double sum = 0.0;
            for (std::size_t i = 1024; i < 4410; ++i)
                sum += left(music, i) * left(sound, static_cast<std::size_t>(static_cast<int>(i) + shift));
            if (sum > best) {
                best = sum;
                bestShift = shift;
            }
        }
        EXPECT_EQ(bestShift, 0);
    }
}

TEST_F(Capture, AWriteThatFailsEndsTheCaptureWithStatusOneAndTheFramesBeforeItWhole)
{
    // Files may not grow past a limit here, as on a full disk: a write fails
    // part way. A frame's picture is about 240 kB, a tenth of a second of
    // music 17640 bytes.
    struct Case {
        int blocks; // of 512 bytes
        const char* failing;
        std::int64_t kept;
    };
    for (const Case c : {Case{128, "frame-000000.png", 0}, Case{2048, "music.wav", (2048 * 512 - 44) / 17640}}) {
        const fs::path dir = work_ / ("full" + std::to_string(c.blocks));
        EXPECT_EQ(demoplay("--capture '" + dir.string() + "' --capture-fps 10 --frames 100",
                           "trap '' XFSZ; ulimit -f " + std::to_string(c.blocks) + ";"),
                  1);
        const std::string problem = "demoplay: cannot write " + (dir / c.failing).string() + ": File too large\n";
        const std::string errors = stderrText();
        EXPECT_TRUE(errors.size() >= problem.size() && errors.substr(errors.size() - problem.size()) == problem)
            << errors;
        expectWholeFrames(dir, c.kept);
    }
}

TEST_F(Capture, ASignalEndsTheCaptureWithTheFramesMadeWholeAndTheVideoFinished)
{
    const bool ffmpeg = std::system("command -v ffmpeg > /dev/null && command -v ffprobe > /dev/null") == 0;
    // Ctrl-C as a terminal sends it, to the whole process group: ffmpeg too
    // unless it has a group of its own.
    struct Case {
        int signal;
        bool video;
        bool toGroup;
    };
    for (const Case c : {Case{SIGINT, ffmpeg, true}, Case{SIGTERM, false, false}}) {
        SCOPED_TRACE(c.signal);
        const fs::path dir = work_ / ("cut" + std::to_string(c.signal)), video = work_ / "cut.mp4";
        const pid_t child = startDemoplay("--capture '" + dir.string() + "' --capture-fps 10" +
                                          (c.video ? " --video '" + video.string() + "'" : std::string()));
        ASSERT_GT(child, 0);
        // The whole show is far longer than the few frames waited for.
        int status = 0;
        pid_t ended = 0;
        while (!fs::exists(dir / "frame-000003.png") && (ended = ::waitpid(child, &status, WNOHANG)) == 0)
            ::usleep(10'000);
        ASSERT_EQ(ended, 0) << "it ended before its fourth frame: " << stderrText();
        ::kill(c.toGroup ? -child : child, c.signal);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << stderrText();
        EXPECT_EQ(WEXITSTATUS(status), 128 + c.signal) << stderrText();

        const std::string errors = stderrText();
        const std::size_t at = errors.rfind("demoplay: interrupted: kept ");
        ASSERT_NE(at, std::string::npos) << errors;
        long long kept = 0;
        ASSERT_EQ(std::sscanf(errors.c_str() + at, "demoplay: interrupted: kept %lld", &kept), 1);
        EXPECT_GE(kept, 4);
        EXPECT_EQ(errors.substr(at), "demoplay: interrupted: kept " + std::to_string(kept) + " frames in " +
                                         dir.string() + (c.video ? " and " + video.string() : std::string()) + "\n");
        expectWholeFrames(dir, kept);
        if (!c.video)
            continue;
        const std::string probe = "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames "
                                  "-of default=noprint_wrappers=1 '" +
                                  video.string() + "' > '" + (work_ / "probe").string() + "'";
        ASSERT_EQ(std::system(probe.c_str()), 0);
        const std::string streams = text(work_ / "probe");
        EXPECT_NE(streams.find("codec_type=video\nnb_read_frames=" + std::to_string(kept) + "\n"), std::string::npos)
            << streams;
        EXPECT_NE(streams.find("codec_type=audio\n"), std::string::npos) << streams;
        EXPECT_FALSE(fs::exists(video.string() + ".picture.mp4"));
        EXPECT_FALSE(fs::exists(video.string() + ".log"));
    }
}

TEST_F(Capture, TimedemoTimesEachPartAndTheWholeShow)
{
    const fs::path json = work_ / "bench.json";
    ASSERT_EQ(program(ZOV_DEMOBENCH, "--frames 4 --json '" + json.string() + "'"), 0) << stderrText();
    const std::string table = text(work_ / "stdout");
    for (const char* line : {"part                              frames  median ms     p99 ms   worst ms       fps\n",
                             "1 title and trails                     4 ", "4 portraits and greetings              4 ",
                             "whole show: 17 frames in ", "start-up: ", "peak resident memory: "})
        EXPECT_NE(table.find(line), std::string::npos) << line << " in\n" << table;
    const std::string figures = text(json);
    EXPECT_EQ(figures.front(), '{');
    EXPECT_NE(figures.find("{\"part\": 3, \"name\": \"bubbles, grid, scroller\", \"frames\": 4, \"median_ms\": "),
              std::string::npos)
        << figures;
    EXPECT_NE(figures.find("\"show\": {\"frames\": 17, "), std::string::npos) << figures;

    // A place the figures cannot go is said before the run.
    EXPECT_EQ(program(ZOV_DEMOBENCH, "--json /no/such/dir/x.json"), 1);
    EXPECT_EQ(stderrText(), "demobench: cannot write /no/such/dir/x.json: No such file or directory\n");
    EXPECT_EQ(text(work_ / "stdout"), "");

    EXPECT_EQ(program(ZOV_DEMOBENCH, "--frames 0"), 2);
    EXPECT_EQ(stderrText(),
              "demobench: '--frames' takes a whole number of 1 or more, not '0'\nTry 'demobench --help'.\n");
}

TEST_F(Capture, TheShowPlayedOverAndOverHoldsNoMoreThanAfterItsFirstPass)
{
    ASSERT_EQ(program(ZOV_DEMOBENCH, "--frames 15 --repeat 5"), 0) << stderrText();
    std::istringstream lines(stderrText());
    std::vector<std::array<double, 3>> passes; // resident MB, files, threads
    const std::regex figures(R"(pass \d+: resident ([\d.]+) MB, (\d+) files? open, (\d+) threads?)");
    for (std::string line; std::getline(lines, line);)
        if (std::smatch m; std::regex_match(line, m, figures))
            passes.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3])});
    ASSERT_EQ(passes.size(), 5u) << stderrText();
    for (const auto& p : passes) {
        EXPECT_EQ(p[1], passes[0][1]);
        EXPECT_EQ(p[2], passes[0][2]);
#if !defined(__SANITIZE_ADDRESS__) // its allocator holds freed memory back on purpose
        EXPECT_LE(p[0], passes[0][0] + 1.0); // MB: what the allocator rounds
#endif
    }
}

} // namespace
