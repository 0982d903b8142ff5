#pragma once

#include "platform/AudioMusicPlayer.h"
#include "platform/AudioSource.h"
#include "platform/Clock.h"
#include "platform/HeadlessDisplay.h"
#include "platform/OfflineAudioLayer.h"
#include "runtime/PartList.h"
#include "show/ShowSession.h"
#include "show/capture/FrameRate.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace zov {

class Bitmap;

// What the show was doing when a frame was drawn.
struct FrameFacts {
    std::int64_t index = 0;   // from 0
    std::int64_t showMicros = 0; // show time of the frame, in whole microseconds
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

// One frame of a lockstep run and the music rendered with it.
struct LockstepFrame {
    const Bitmap* picture = nullptr;
    FrameFacts facts;
    const float* leftRight = nullptr; // sampleFrames interleaved stereo frames
    std::size_t sampleFrames = 0;
};

// Plays the show headless in lockstep with its music: frame k is drawn with
// the show clock at exactly k / rate seconds and the music at sample
// k * 44100 / rate; then the offline audio layer renders that frame's
// samples (44100 / rate, the fraction carried from frame to frame so that no
// sample is lost or repeated). Same data, same frames and samples. The caller
// steps it:
//
//     LockstepShow show(rate);
//     if (show.begin(startOrder) == 0) // then openAt to start later

//         while (const LockstepFrame* frame = show.next())
//             ...;
//     status = show.finish();
class LockstepShow final : private PartRenderer {
public:
    static constexpr int kSampleRate = 44100;

    // Reads the music with the files' opener of the native programs.
    explicit LockstepShow(FrameRate rate);
    // Reads it with the given one (not owned), where there is no other.
    LockstepShow(FrameRate rate, SourceOpener& opener);
    ~LockstepShow() override;

    // Times or watches the parts' renders besides; not owned. Before begin.
    void setInnerRenderer(PartRenderer* renderer) { inner_ = renderer; }
    // With a keyboard, a key press (pressKey) skips to the next part, and
    // the end picture waits for one; without, the show runs by the music
    // alone. Before begin.
    void setKeyboard(bool keyboard) { display_.keyboard = keyboard; }
    void pressKey() { display_.keyPending = true; }

    // Builds and sets up the show, the music at order startOrder; the
    // working directory holds data/. 0, or the show's exit status.
    int begin(std::int32_t startOrder);
    // Before the first next(): the run opens at the show's frame `frame`
    // (frame k of the run is then the show's frame frame + k), as if the
    // show had played there with no key pressed. False when it cannot.
    bool openAt(std::int64_t frame);
    // The first frame whose show time is t or later.
    std::int64_t firstFrameAt(ShowTime t) const;
    // The next frame and its samples, valid until the next call; none once
    // the show is over.
    const LockstepFrame* next();
    // The show's closing line and exit status, for a run that went to its
    // end; a run cut short just drops the LockstepShow.
    int finish();

    // Frames handed out so far.
    std::int64_t frames() const { return frame_ - startFrame_; }
    ShowSession* session() { return session_.get(); }

    // Samples of the frames before frame `frame`.
    static std::int64_t samplesBefore(std::int64_t frame, FrameRate rate) { return rate.timeOf(frame, kSampleRate); }

private:
    LockstepShow(FrameRate rate, SourceOpener* borrowed, std::unique_ptr<SourceOpener> owned);
    void renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time) override;

    FrameRate rate_;
    PartRenderer* inner_ = nullptr;
    ManualClock clock_{1'000'000'000};
    std::unique_ptr<SourceOpener> ownedOpener_;
    SourceOpener& opener_;
    OfflineAudioLayer audio_{opener_};
    AudioMusicPlayer music_{audio_};
    // The headless display, with keys that only the program presses.
    class Display final : public DisplayDriver {
    public:
        bool present() override { return inner.present(); }
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
    std::unique_ptr<ShowSession> session_;
    std::vector<float> samples_;
    LockstepFrame current_;
    std::int64_t startFrame_ = 0;
    std::int64_t frame_ = 0; // the show's frame to draw next
    int lastPart_ = -1;
};

} // namespace zov
