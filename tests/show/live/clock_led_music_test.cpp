// The sound beneath a study: held, brought back, slowed or muted as the
// study goes; held at the end picture until a seek goes back.
#include "platform/Clock.h"
#include "platform/MusicPlayer.h"
#include "show/live/ClockLedMusic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zov;

namespace {

// Records what is asked of the sound.
class RecordingSound final : public MusicPlayer {
public:
    bool load(const char*) override { return true; }
    bool start() override { return true; }
    bool resumeStream(std::int32_t) override { return false; }
    bool playAt(std::int32_t, std::int32_t) override { return true; }
    bool stopStream() override { return true; }
    bool shutdown() override
    {
        log.push_back("shutdown");
        return true;
    }
    std::int32_t order() override { return 0; }
    std::int32_t row() override { return 0; }
    bool pauseStream() override { return false; }
    std::int32_t streamPosition() override { return 0; }
    bool playFrom(std::int64_t numerator, std::int64_t denominator) override
    {
        log.push_back("from " + std::to_string(numerator) + "/" + std::to_string(denominator));
        return true;
    }
    bool pauseMusic() override
    {
        log.push_back("hold");
        return true;
    }
    bool setTempo(double factor) override
    {
        if (factor != 1.0 && !tempo)
            return false;
        if (factor != 1.0)
            log.push_back("tempo 1/" + std::to_string(static_cast<int>(1.0 / factor)));
        return true;
    }

    std::vector<std::string> log;
    bool tempo = true;
};

} // namespace

TEST(ClockLedMusic, TheSoundFollowsTheStudyAndComesBackAfterTheEndPicture)
{
    ManualClock clock;
    RecordingSound sound;
    ClockLedMusic music(sound, clock);
    using Log = std::vector<std::string>;

    EXPECT_TRUE(music.steer(false, 2, {3, 1}));
    EXPECT_EQ(sound.log, (Log{"from 3/1", "tempo 1/2"}));
    sound.log.clear();
    // Held: seeks move nothing; resuming plays from there at the pace asked.
    EXPECT_TRUE(music.steer(true, 1, {3, 1}));
    EXPECT_TRUE(music.playFrom(5, 1));
    EXPECT_TRUE(music.steer(false, 1, {5, 1}));
    EXPECT_EQ(sound.log, (Log{"hold", "hold", "from 5/1"}));
    sound.log.clear();
    // The end picture holds the sound, and resuming there keeps it held; a
    // seek back brings it again.
    EXPECT_TRUE(music.shutdown());
    music.steer(false, 1, {90, 1});
    EXPECT_TRUE(music.playFrom(60, 1));
    EXPECT_EQ(sound.log, (Log{"hold", "hold", "from 60/1"}));
    sound.log.clear();
    // A player without tempo control is muted while slowed.
    sound.tempo = false;
    EXPECT_FALSE(music.steer(false, 4, {60, 1}));
    EXPECT_EQ(sound.log, (Log{"from 60/1", "hold"}));
}
