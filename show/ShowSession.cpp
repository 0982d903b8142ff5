#include "show/ShowSession.h"

#include "effects/ObjectLayer.h"
#include "image/Bitmap.h"
#include "image/ReleaseLines.h"
#include "platform/AudioSource.h"
#include "platform/DisplayDriver.h"
#include "platform/MixingAudioLayer.h"
#include "platform/MusicPlayer.h"
#include "platform/MusicTimeline.h"
#include "raster/NewRenderDriver.h"
#include "runtime/FeedbackClock.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "runtime/ShowConstants.h"
#include "show/FeedbackCheckpoints.h"
#include "show/ShowSchedule.h"

#include <thread>

namespace zov {

namespace {

// A page built without threads renders the music first, on the one core.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kSeekOnTwoCores = false;
#else
constexpr bool kSeekOnTwoCores = true;
#endif

} // namespace

ShowSession::ShowSession(DisplayDriver& display, MusicPlayer& music, const Clock& clock, const ShowOptions& options)
    : display_(display), music_(music), options_(options), frameDescriptor_(std::make_unique<Bitmap>())
{
    frameDescriptor_->setSize(kScreenWidth, kScreenHeight);
    renderDriver_ = std::make_unique<NewRenderDriver>(*frameDescriptor_);
    if (options_.feedbackCheckpointSteps > 0)
        checkpoints_ = std::make_unique<FeedbackCheckpoints>(options_.feedbackCheckpointSteps);
    partList_ = std::make_unique<PartList>(kScreenWidth, kScreenHeight, kColourDepth, kDisplayFlag, *renderDriver_,
                                           clock);
}

ShowSession::~ShowSession()
{
    // The show's last line has been printed (or the run was cut short): the
    // objects go without a word, and so does the music.
    const QuietReleases quiet;
    if (!finished_ && driver_ && !driver_->over())
        music_.shutdown();
    driver_.reset();
    partList_.reset();
    for (auto& part : parts_)
        part.reset();
    renderDriver_.reset();
    frameDescriptor_.reset();
}

int ShowSession::begin()
{
    for (int i = 0; i < kShowPartCount; ++i) {
        const ShowPartEntry& entry = kShowParts[i];
        parts_[i] = entry.make(kScreenWidth, kScreenHeight, entry.background);
        partList_->addPart(parts_[i].get());
    }
    partList_->setPartRenderer(options_.partRenderer);
    display_.invertOnPresent = false;
    for (auto& part : parts_)
        part->setStepBound(options_.feedbackStepBound);
    // A show of its own: the stars start where no cue has moved them.
    ObjectLayer::setBonkCount(0);
    driver_ = std::make_unique<DemoDriver>(display_, music_);
    status_ = driver_->begin(*partList_, options_.firstPart, kShowMusicFile, options_.startOrder, 0);
    return status_;
}

const ShowSchedule* ShowSession::schedule(ShowTime until)
{
    if (!musicTimeline_) {
        if (!options_.musicSource || !(timelineSource_ = options_.musicSource()))
            return nullptr;
        timelineSource_->setLooping(true);
        musicTimeline_ = std::make_unique<MusicTimeline>();
    }
    // Ten seconds at a time, until the schedule reaches `until` or the end
    // picture; no further than 20 minutes, for a show the music never ends.
    const std::int64_t rate = options_.musicRate;
    const std::int64_t chunk = 10 * rate;
    const std::int64_t wanted = std::min(until.in(rate) + chunk, 20 * 60 * rate);
    while (musicTimeline_->frames() < wanted &&
           (!schedule_ || schedule_->entries().back().part != ShowSchedule::kEndPicture)) {
        const bool more = musicTimeline_->extend(*timelineSource_, MixingAudioLayer::kBlockFrames, chunk);
        schedule_ = std::make_unique<ShowSchedule>(*musicTimeline_, options_.musicRate);
        if (!more)
            break;
    }
    if (!schedule_ && !musicTimeline_->empty())
        schedule_ = std::make_unique<ShowSchedule>(*musicTimeline_, options_.musicRate);
    return musicTimeline_->empty() ? nullptr : schedule_.get();
}

bool ShowSession::seek(ShowTime t)
{
    if (!options_.musicSource || !driver_ || driver_->over())
        return false;
    // The music renders its way there on the other core while the show
    // works out where it stands and the part replays its feedback.
    auto playMusic = [this, t] { music_.playFrom(t.numerator, t.denominator); };
    std::thread music;
    if (kSeekOnTwoCores)
        music = std::thread(playMusic);
    else
        playMusic();
    auto joinMusic = [&music] {
        if (music.joinable())
            music.join();
    };
    const ShowSchedule* plan = schedule(t);
    if (plan == nullptr) {
        joinMusic();
        return false;
    }
    const ShowSchedule::State state = plan->at(t);
    DemoDriver::Placement at;
    at.part = state.part;
    at.partStart = static_cast<float>(static_cast<double>(state.startMs) * 0.001);
    at.order = positionOrder(state.position);
    at.row = positionRow(state.position);
    at.lastCueRow = state.lastCueRow;
    if (Part* part = partList_->part(state.part); part != nullptr && display_.frame() != nullptr) {
        part->start(at.partStart);
        // From the latest kept state where there are any, else from the
        // part's start.
        if (checkpoints_)
            checkpoints_->bringTo(state.part, *part, at.partStart, feedback::lastStepBy(t.in(1000)), *renderDriver_,
                                  *display_.frame());
        part->catchUpTo(*renderDriver_, *display_.frame(), static_cast<float>(static_cast<double>(t.in(1000)) * 0.001));
    }
    joinMusic();
    ObjectLayer::setBonkCount(state.cues);
    driver_->place(at);
    return true;
}

ShowFrame ShowSession::frame()
{
    const ShowFrame drawn = driver_->frame();
    if (checkpoints_ && drawn.drawn && drawn.part >= 0)
        if (const Part* part = partList_->part(drawn.part))
            checkpoints_->note(drawn.part, *part, part->startTime());
    return drawn;
}

bool ShowSession::workAhead(const Clock& clock, std::int64_t deadline)
{
    const ShowSchedule* plan = checkpoints_ ? schedule() : nullptr;
    if (plan == nullptr || display_.frame() == nullptr || !driver_)
        return false;
    const std::vector<ShowSchedule::Entry>& entries = plan->entries();
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        const int index = entries[i].part;
        Part* part = partList_->part(index);
        if (part == nullptr || index == driver_->runningPart())
            continue;
        const float start = static_cast<float>(static_cast<double>(entries[i].startMs) * 0.001);
        const std::int64_t lastStep = feedback::lastStepBy(plan->startOf(i + 1).in(1000));
        if (checkpoints_->workAhead(index, *part, start, lastStep, *renderDriver_, *display_.frame(), clock, deadline))
            return true;
    }
    return false;
}

int ShowSession::finish()
{
    if (!finished_) {
        finished_ = true;
        if (status_ == 0 && driver_)
            status_ = driver_->status();
        frameDescriptor_.reset();
    }
    return status_;
}

} // namespace zov
