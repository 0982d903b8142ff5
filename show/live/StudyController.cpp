#include "show/live/StudyController.h"

#include "platform/MusicPlayer.h"
#include "platform/MusicTimeline.h"
#include "platform/SteerableClock.h"
#include "show/ShowSchedule.h"

#include <algorithm>
#include <utility>

namespace zov {

namespace {

// Virtual-key codes.
constexpr std::uint32_t kTab = 0x09;
constexpr std::uint32_t kEscape = 0x1B;
constexpr std::uint32_t kSpace = 0x20;
constexpr std::uint32_t kPageUp = 0x21;
constexpr std::uint32_t kPageDown = 0x22;
constexpr std::uint32_t kLeft = 0x25;
constexpr std::uint32_t kUp = 0x26;
constexpr std::uint32_t kRight = 0x27;
constexpr std::uint32_t kDown = 0x28;
constexpr std::uint32_t kComma = 0xBC;
constexpr std::uint32_t kPeriod = 0xBE;
constexpr std::uint32_t kOpenBracket = 0xDB;
constexpr std::uint32_t kCloseBracket = 0xDD;

constexpr std::uint32_t kOrderBits = 0xFFFF;

} // namespace

StudyMap studyMapOf(const ShowSchedule& schedule, const MusicTimeline& music, int rate)
{
    StudyMap map;
    const std::vector<ShowSchedule::Entry>& entries = schedule.entries();
    for (const ShowSchedule::Entry& entry : entries)
        map.parts.push_back({{entry.fromFrame, rate}, entry.part});
    // An order is told once the first block it plays is whole; the first
    // one from the start.
    const std::int64_t end =
        entries.back().part == ShowSchedule::kEndPicture ? entries.back().fromFrame : music.frames();
    map.orders.push_back({{0, rate}, positionOrder(music.positionAt(0))});
    for (std::int64_t run = music.nextChange(0, kOrderBits); run < music.frames();
         run = music.nextChange(run, kOrderBits)) {
        const std::int64_t told = run + music.blockFrames();
        if (told >= end)
            break;
        map.orders.push_back({{told, rate}, positionOrder(music.positionAt(run))});
    }
    return map;
}

StudyController::StudyController(SteerableClock& clock, StudyShow& show, StudyMap map)
    : clock_(clock), show_(show), map_(std::move(map))
{
}

std::int64_t StudyController::ticksOf(std::int64_t frame) const
{
    // As a capture sets its clock for a frame.
    return frame * clock_.ticksPerSecond() / kFramesPerSecond;
}

std::int64_t StudyController::frameOf(ShowTime t)
{
    return t.denominator > 0 ? (t.numerator * kFramesPerSecond + t.denominator - 1) / t.denominator : 0;
}

std::int64_t StudyController::frameNow() const
{
    return frameOf({clock_.ticks(), clock_.ticksPerSecond()});
}

void StudyController::press(std::uint32_t key)
{
    switch (key) {
    case kSpace: togglePause(); break;
    case kPeriod: step(1); break;
    case kComma: step(-1); break;
    case kRight: goTo(frameNow() + kFramesPerSecond); break;
    case kLeft: goTo(frameNow() - kFramesPerSecond); break;
    case kUp: goToMark(map_.orders, true); break;
    case kDown: goToMark(map_.orders, false); break;
    case kPageDown:
    case kCloseBracket: goToMark(map_.parts, true); break;
    case kPageUp:
    case kOpenBracket: goToMark(map_.parts, false); break;
    case 'L': toggleLoop(); break;
    case '1': setSlowdown(1); break;
    case '2': setSlowdown(2); break;
    case '4': setSlowdown(4); break;
    case 'O':
    case kTab:
        overlay_ = !overlay_;
        overlayChanged_ = true;
        break;
    case kEscape:
    case 'Q': quit_ = true; break;
    default: break;
    }
}

void StudyController::togglePause()
{
    if (!paused_) {
        pause();
        return;
    }
    paused_ = false;
    musicFollows_ = show_.steerMusic(false, slowdown_, {clock_.ticks(), clock_.ticksPerSecond()});
    clock_.resume();
}

void StudyController::pause()
{
    clock_.pause();
    const std::int64_t frame = frameNow();
    clock_.set(ticksOf(frame));
    paused_ = true;
    musicFollows_ = show_.steerMusic(true, slowdown_, {frame, kFramesPerSecond});
    // Drawn on from the last frame unless that would not be the
    // played-through picture.
    if (show_.fellBehind())
        show_.seek({frame, kFramesPerSecond});
    redraw_ = true;
}

void StudyController::step(std::int64_t frames)
{
    if (!paused_) {
        // Pausing shows the next frame: that is the step forward.
        pause();
        if (frames > 0)
            return;
    }
    const std::int64_t target = frameNow() + frames;
    if (frames > 0 && !show_.fellBehind()) {
        clock_.set(ticksOf(target));
        redraw_ = true;
        return;
    }
    goTo(target);
}

void StudyController::goTo(std::int64_t frame)
{
    frame = std::max<std::int64_t>(frame, 0);
    const bool running = !paused_;
    // The seek works out the music up to there; the clock waits for it.
    if (running)
        clock_.pause();
    show_.seek({frame, kFramesPerSecond});
    clock_.set(ticksOf(frame));
    if (running)
        clock_.resume();
    redraw_ = true;
    if (looping_)
        setLoopAround(frame);
}

void StudyController::goToMark(const std::vector<StudyMap::Mark>& marks, bool forward)
{
    const std::int64_t now = frameNow();
    if (forward) {
        for (const StudyMap::Mark& mark : marks) {
            if (frameOf(mark.at) > now) {
                goTo(frameOf(mark.at));
                return;
            }
        }
        return;
    }
    const std::int64_t before = now - (paused_ ? 0 : kBackGraceFrames);
    std::int64_t target = 0;
    for (const StudyMap::Mark& mark : marks)
        if (frameOf(mark.at) < before)
            target = frameOf(mark.at);
    goTo(target);
}

void StudyController::setSlowdown(int slowdown)
{
    if (slowdown == slowdown_)
        return;
    slowdown_ = slowdown;
    const bool running = !paused_;
    if (running)
        clock_.pause();
    musicFollows_ = show_.steerMusic(paused_, slowdown_, {clock_.ticks(), clock_.ticksPerSecond()});
    clock_.setPace(1, slowdown_);
    if (running)
        clock_.resume();
    overlayChanged_ = true;
}

void StudyController::toggleLoop()
{
    if (looping_)
        looping_ = false;
    else
        setLoopAround(frameNow());
    overlayChanged_ = true;
}

int StudyController::partIndexAt(std::int64_t frame) const
{
    int found = -1;
    for (std::size_t i = 0; i < map_.parts.size(); ++i)
        if (frameOf(map_.parts[i].at) <= frame)
            found = static_cast<int>(i);
    return found;
}

void StudyController::setLoopAround(std::int64_t frame)
{
    const int i = partIndexAt(frame);
    // The end picture does not end; nor does a part with no known end.
    looping_ = i >= 0 && map_.parts[static_cast<std::size_t>(i)].part >= 0 &&
               static_cast<std::size_t>(i) + 1 < map_.parts.size();
    if (!looping_)
        return;
    loopStart_ = frameOf(map_.parts[static_cast<std::size_t>(i)].at);
    loopEnd_ = map_.parts[static_cast<std::size_t>(i) + 1].at;
}

void StudyController::beforeFrame()
{
    if (!looping_ || loopEnd_.denominator <= 0)
        return;
    // The moment the music tells the next part (see ClockLedMusic).
    const std::int64_t perSecond = clock_.ticksPerSecond();
    if ((clock_.ticks() + 1) * loopEnd_.denominator / perSecond >= loopEnd_.numerator)
        goTo(loopStart_);
}

bool StudyController::wantsFrame()
{
    if (!paused_) {
        redraw_ = false;
        return true;
    }
    return std::exchange(redraw_, false);
}

bool StudyController::takeOverlayChange()
{
    return std::exchange(overlayChanged_, false);
}

} // namespace zov
