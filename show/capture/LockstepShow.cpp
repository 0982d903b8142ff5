#include "show/capture/LockstepShow.h"

#include "platform/MusicPlayer.h"
#include "runtime/Part.h"
#include "show/ShowTable.h"

#include <algorithm>

namespace zov {

LockstepShow::LockstepShow(FrameRate rate, SourceOpener& opener) : LockstepShow(rate, &opener, nullptr) {}

LockstepShow::LockstepShow(FrameRate rate, SourceOpener* borrowed, std::unique_ptr<SourceOpener> owned)
    : rate_(rate.num > 0 && rate.den > 0 ? rate : FrameRate{}), ownedOpener_(std::move(owned)),
      opener_(ownedOpener_ ? *ownedOpener_ : *borrowed),
      samples_(2 * static_cast<std::size_t>(samplesBefore(1, rate_) + 1))
{
}

LockstepShow::~LockstepShow() = default;

int LockstepShow::begin(std::int32_t startOrder)
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
    return session_->begin();
}

bool LockstepShow::openAt(std::int64_t frame)
{
    if (!session_ || frame_ != startFrame_ || frame < 0)
        return false;
    startFrame_ = frame;
    frame_ = frame;
    clock_.setTicks(rate_.timeOf(frame_, clock_.ticksPerSecond()));
    return frame == 0 || session_->seek({frame * rate_.den, rate_.num});
}

std::int64_t LockstepShow::firstFrameAt(ShowTime t) const
{
    // The least k with k * den / num >= numerator / denominator.
    const __int128 over = static_cast<__int128>(t.numerator) * rate_.num;
    const __int128 under = static_cast<__int128>(t.denominator) * rate_.den;
    return over <= 0 ? 0 : static_cast<std::int64_t>((over + under - 1) / under);
}

const LockstepFrame* LockstepShow::next()
{
    if (!session_ || !session_->frame().drawn)
        return nullptr;
    FrameFacts& facts = current_.facts;
    facts = FrameFacts{};
    facts.index = frame_ - startFrame_;
    facts.showMicros = rate_.timeOf(frame_, 1'000'000);
    facts.part = lastPart_;
    lastPart_ = -1;
    // The show read the music before drawing, and nothing has moved since.
    facts.musicPlaying = audio_.initialised();
    if (facts.musicPlaying) {
        facts.order = music_.order();
        facts.row = music_.row();
    }

    const auto count = static_cast<std::size_t>(samplesBefore(frame_ + 1, rate_) - samplesBefore(frame_, rate_));
    std::fill(samples_.begin(), samples_.begin() + 2 * static_cast<std::ptrdiff_t>(count), 0.0f);
    audio_.step(count, samples_.data());
    ++frame_;
    clock_.setTicks(rate_.timeOf(frame_, clock_.ticksPerSecond()));
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
