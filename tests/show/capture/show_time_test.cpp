// A frame is a function of its show time: the whole show played in lockstep
// at 30, 60 and 120 frames a second gives the same pixels wherever two runs
// share a show time, and a show opened at a time gives the frame the
// played-through show has there; so does a study of the show, led by its
// clock, whatever frames it drew before and wherever it was taken.
#include "image/Bitmap.h"
#include "platform/SteerableClock.h"
#include "platform/sdl/FileSources.h"
#include "show/ShowTable.h"
#include "show/capture/LockstepShow.h"
#include "show/live/ClockLedMusic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

struct FrameRecord {
    std::uint64_t hash;
    int part;
};

// A quick hash of the pixels: these runs hash tens of thousands of frames.
std::uint64_t quickHash(const Bitmap& b)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < b.pixelCount(); ++i)
        h = (h ^ b.pixels()[i]) * 1099511628211ull;
    return h;
}

class ShowTime : public testing::Test {
protected:
    void SetUp() override
    {
        const fs::path root = fs::path(ZOV_DATA_DIR).parent_path();
        if (!fs::exists(root / "data/cute5c.xm"))
            GTEST_SKIP() << "no data kit at " << root;
        previous_ = fs::current_path();
        fs::current_path(root);
    }
    void TearDown() override
    {
        if (!previous_.empty())
            fs::current_path(previous_);
    }

    // The show's frames from startFrame on, at most `count` of them.
    static std::vector<FrameRecord> play(int fps, std::int64_t startFrame = 0, std::int64_t count = 1 << 30)
    {
        std::vector<FrameRecord> frames;
        testing::internal::CaptureStdout();
        {
            LockstepShow show(fps);
            if (show.begin(0) == 0 && show.openAt(startFrame)) {
                while (static_cast<std::int64_t>(frames.size()) < count) {
                    const LockstepFrame* frame = show.next();
                    if (!frame)
                        break;
                    frames.push_back({quickHash(*frame->picture), frame->facts.part});
                }
            }
        }
        testing::internal::GetCapturedStdout();
        return frames;
    }

    // The played-through show at 60 frames a second, made once.
    static const std::vector<FrameRecord>& at60()
    {
        static const std::vector<FrameRecord> frames = play(60);
        return frames;
    }

    fs::path previous_;
};

// The show as study mode plays it: its clock leads, the music's timeline
// tells the positions, the parts' carried state is kept every second.
class StudySession {
public:
    StudySession()
    {
        ShowOptions options;
        options.musicRate = LockstepShow::kSampleRate;
        options.feedbackCheckpointSteps = 60;
        options.musicSource = [this] {
            return std::move(opener_.openModule(kShowMusicFile, LockstepShow::kSampleRate).source);
        };
        testing::internal::CaptureStdout();
        session_ = std::make_unique<ShowSession>(display_, music_, showClock_, options);
        ready_ = session_->begin() == 0 && session_->schedule() != nullptr;
        if (ready_)
            music_.follow(*session_->musicTimeline(), LockstepShow::kSampleRate);
        // Held: the offline layer would only work the sound out.
        music_.steer(true, 1, {0, 1});
    }
    ~StudySession()
    {
        session_.reset();
        testing::internal::GetCapturedStdout();
    }
    bool ready() const { return ready_; }
    // The frame drawn with the show clock at frame k of `fps` a second.
    std::uint64_t frameAt(std::int64_t k, std::int64_t fps = 60)
    {
        showClock_.set(k * showClock_.ticksPerSecond() / fps);
        return session_->frame().drawn ? quickHash(*display_.frame()) : 0;
    }
    bool seek(std::int64_t k) { return session_->seek({k, 60}); }
    void workAhead()
    {
        while (session_->workAhead(base_, base_.ticks() + 1)) {
        }
    }

private:
    ManualClock base_{1'000'000'000};
    SteerableClock showClock_{base_};
    FileSourceOpener opener_;
    OfflineAudioLayer audio_{opener_};
    AudioMusicPlayer sound_{audio_};
    ClockLedMusic music_{sound_, showClock_};
    HeadlessDisplay display_;
    std::unique_ptr<ShowSession> session_;
    bool ready_ = false;
};

TEST_F(ShowTime, AStudyDrawsTheCapturesFramesWhateverFramesCameBetween)
{
    const std::vector<FrameRecord>& through = at60();
    StudySession study;
    ASSERT_TRUE(study.ready());
    // Now and then a frame at an odd time before the capture's.
    for (std::size_t k = 0; k < through.size() && through[k].part >= 0; ++k) {
        if (k % 3 == 1)
            study.frameAt(7 * static_cast<std::int64_t>(k) - 4, 7 * 60);
        ASSERT_EQ(study.frameAt(static_cast<std::int64_t>(k)), through[k].hash) << "frame " << k;
    }
}

TEST_F(ShowTime, AStudyTakenAnywhereInAnyOrderDrawsThePlayedThroughFrames)
{
    const std::vector<FrameRecord>& through = at60();
    StudySession study;
    ASSERT_TRUE(study.ready());
    study.workAhead();
    for (std::int64_t frame : {5100, 300, 2200, 4300, 4290, 1500, 3600, 2250, 2249, 900}) {
        ASSERT_LT(frame + 3, static_cast<std::int64_t>(through.size()));
        ASSERT_TRUE(study.seek(frame));
        for (std::int64_t k = frame; k < frame + 3; ++k)
            EXPECT_EQ(study.frameAt(k), through[static_cast<std::size_t>(k)].hash) << "frame " << k;
    }
}

TEST_F(ShowTime, CapturesAtThirtySixtyAndOneHundredTwentyAgreeWhereverTheyMeet)
{
    const std::vector<FrameRecord> at30 = play(30);
    const std::vector<FrameRecord>& at60 = ShowTime::at60();
    const std::vector<FrameRecord> at120 = play(120);
    ASSERT_GT(at30.size(), 30u * 80);
    std::map<int, int> framesOfPart;
    // Until the end picture: how long it stays depends on the frame that
    // first sees the last part's end.
    for (std::size_t k = 0; k < at30.size() && 4 * k < at120.size() && at30[k].part >= 0; ++k) {
        ASSERT_EQ(at30[k].hash, at60[2 * k].hash) << "30 fps frame " << k;
        ASSERT_EQ(at30[k].hash, at120[4 * k].hash) << "30 fps frame " << k;
        ++framesOfPart[at30[k].part];
    }
    EXPECT_EQ(framesOfPart.size(), 4u); // every part took part
}

TEST_F(ShowTime, AShowOpenedAtATimeDrawsThePlayedThroughFrame)
{
    const std::vector<FrameRecord>& through = at60();
    // In each part, well into its trails, glow and cues.
    for (std::int64_t frame : {300, 1500, 2200, 3600, 4300, 5100}) {
        ASSERT_LT(frame + 3, static_cast<std::int64_t>(through.size()));
        const std::vector<FrameRecord> opened = play(60, frame, 3);
        ASSERT_EQ(opened.size(), 3u);
        for (std::size_t k = 0; k < opened.size(); ++k) {
            EXPECT_EQ(opened[k].part, through[frame + k].part) << "frame " << frame + k;
            EXPECT_EQ(opened[k].hash, through[frame + k].hash) << "frame " << frame + k;
        }
    }
}

} // namespace
} // namespace zov
