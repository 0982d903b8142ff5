#pragma once

#include "platform/AudioMusicPlayer.h"
#include "platform/Clock.h"
#include "platform/sdl/FileSources.h"
#include "platform/HeadlessDisplay.h"
#include "platform/OfflineAudioLayer.h"
#include "runtime/PartList.h"
#include "show/capture/FrameRate.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zov {

class Bitmap;

// What the show was doing when a frame was presented.
struct FrameFacts {
    std::int64_t index = 0;   // from 0
    std::int64_t showMicros = 0; // index / rate, in whole microseconds
    int part = -1;            // index of the part that drew it; -1: the end picture
    bool musicPlaying = false;
    std::int32_t order = 0;   // the music position the frame was drawn at
    std::int32_t row = 0;
};

// Receives each frame of a lockstep run with the samples rendered for it.
class LockstepSink {
public:
    virtual ~LockstepSink() = default;
    // leftRight holds sampleFrames interleaved stereo frames (silence once
    // the music has stopped). False ends the run after this frame.
    virtual bool frame(const Bitmap& picture, const FrameFacts& facts, const float* leftRight,
                       std::size_t sampleFrames) = 0;
};

// Plays the show headless in lockstep with its music: frame k is drawn with
// the show clock at exactly k / rate seconds and the music at sample
// k * 44100 / rate; once it is presented the offline audio layer renders that
// frame's samples (44100 / rate, the fraction carried from frame to frame so
// that no sample is lost or repeated). Same data, same frames and samples.
class LockstepShow final : private PartRenderer {
public:
    static constexpr int kSampleRate = 44100;

    struct Result {
        int status = 0;       // the show's exit status when it ran to its end
        bool stopped = false; // the sink ended it early
        std::int64_t frames = 0;
    };

    LockstepShow(FrameRate rate, LockstepSink& sink);
    ~LockstepShow() override;

    // Times or watches the parts' renders besides; not owned.
    void setInnerRenderer(PartRenderer* renderer) { inner_ = renderer; }
    // With a keyboard, a key press (pressKey, from the sink) skips to the
    // next part, and the end picture waits for one; without, the show runs
    // by the music alone. Before run.
    void setKeyboard(bool keyboard) { display_.keyboard = keyboard; }
    void pressKey() { display_.keyPending = true; }
    // Runs the show from the music's order startOrder; the working
    // directory holds data/.
    Result run(std::int32_t startOrder);

    // Samples of the frames before frame `frame`.
    static std::int64_t samplesBefore(std::int64_t frame, FrameRate rate) { return rate.timeOf(frame, kSampleRate); }

private:
    struct Stop {};

    void renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time) override;
    void presented(const Bitmap& picture);

    FrameRate rate_;
    LockstepSink& sink_;
    PartRenderer* inner_ = nullptr;
    ManualClock clock_{1'000'000'000};
    FileSourceOpener opener_;
    OfflineAudioLayer audio_{opener_};
    AudioMusicPlayer music_{audio_};
    // The headless display, with keys that only the program presses.
    class Display final : public DisplayDriver {
    public:
        bool present() override
        {
            inner.invertOnPresent = invertOnPresent;
            return inner.present();
        }
        bool presentBitmap(const Bitmap& bitmap) override { return inner.presentBitmap(bitmap); }
        bool open(int width, int height, bool flag, int depth) override
        {
            return inner.open(width, height, flag, depth);
        }
        bool reopen() override { return inner.reopen(); }
        bool keyHit() override { return std::exchange(keyPending, false); }
        KeyRecord lastKey() const override { return KeyRecord{}; }
        void close() override {}
        Bitmap* frame() override { return inner.frame(); }
        bool hasKeyboard() const override { return keyboard; }

        HeadlessDisplay inner;
        bool keyboard = false;
        bool keyPending = false;
    };

    Display display_;
    std::vector<float> samples_;
    std::int64_t frame_ = 0;
    int lastPart_ = -1;
};

} // namespace zov
