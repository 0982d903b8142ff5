#include "show/capture/LockstepShow.h"

#include "platform/MusicPlayer.h"
#include "runtime/Part.h"
#include "show/ShowTable.h"

#include <algorithm>

namespace zov {

LockstepShow::LockstepShow(int fps, SourceOpener& opener) : LockstepShow(fps, &opener, nullptr) {}

LockstepShow::LockstepShow(int fps, SourceOpener* borrowed, std::unique_ptr<SourceOpener> owned)
    : fps_(std::clamp(fps, 1, kSampleRate)), ownedOpener_(std::move(owned)),
      opener_(ownedOpener_ ? *ownedOpener_ : *borrowed),
      samples_(2 * static_cast<std::size_t>(samplesBefore(1, fps_) + 1))
{
}

LockstepShow::~LockstepShow() = default;

int LockstepShow::begin(std::int32_t startOrder, std::int64_t startFrame)
{
    ShowOptions options;
    options.startOrder = startOrder;
    options.partRenderer = this;
    options.musicRate = kSampleRate;
    options.musicSource = [this, startOrder]() -> std::unique_ptr<AudioSource> {
        SourceOpener::Result opened = opener_.openModule(kShowMusicFile, kSampleRate);
        if (opened.source)
            opened.source->seek(modulePosition(startOrder, 0));
        return std::move(opened.source);
    };
    session_ = std::make_unique<ShowSession>(display_, music_, clock_, options);
    if (const int status = session_->begin(); status != 0)
        return status;
    if (startFrame > 0) {
        startFrame_ = startFrame;
        frame_ = startFrame;
        clock_.setTicks(frame_ * clock_.ticksPerSecond() / fps_);
        if (!session_->seek({startFrame, fps_}))
            return 2;
    }
    return 0;
}

const LockstepFrame* LockstepShow::next()
{
    if (!session_ || !session_->frame().drawn)
        return nullptr;
    FrameFacts& facts = current_.facts;
    facts = FrameFacts{};
    facts.index = frame_ - startFrame_;
    facts.showMicros = frame_ * 1'000'000 / fps_;
    facts.part = lastPart_;
    lastPart_ = -1;
    // The show read the music before drawing, and nothing has moved since.
    facts.musicPlaying = audio_.initialised();
    if (facts.musicPlaying) {
        facts.order = music_.order();
        facts.row = music_.row();
    }

    const auto count = static_cast<std::size_t>(samplesBefore(frame_ + 1, fps_) - samplesBefore(frame_, fps_));
    std::fill(samples_.begin(), samples_.begin() + 2 * static_cast<std::ptrdiff_t>(count), 0.0f);
    audio_.step(count, samples_.data());
    ++frame_;
    clock_.setTicks(frame_ * clock_.ticksPerSecond() / fps_);
    current_.picture = display_.frame();
    current_.leftRight = samples_.data();
    current_.sampleFrames = count;
    return &current_;
}

int LockstepShow::finish()
{
    return session_ ? session_->finish() : 0;
}

void LockstepShow::renderPart(int index, Part& part, Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    lastPart_ = index;
    if (inner_)
        inner_->renderPart(index, part, frame, renderDriver, time);
    else
        part.render(frame, renderDriver, time);
}

} // namespace zov
