#include "show/DemoDriver.h"

#include "effects/EffectLayer.h"
#include "image/Bitmap.h"
#include "image/Diagnostics.h"
#include "image/ImageLoaderRegistry.h"
#include "platform/DisplayDriver.h"
#include "platform/MusicPlayer.h"
#include "runtime/ActionTable.h"
#include "runtime/DemoTimer.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "show/BitmapFont.h"
#include "show/ShowTable.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace zov {

namespace {

// Going back to the restart position twice within one part means a whole
// pass of the orders went by: the awaited one is not among them.
constexpr std::uint64_t kPassesOfAStuckLoop = 2;

} // namespace

DemoDriver::DemoDriver(DisplayDriver& display, MusicPlayer& music)
    : display_(display), music_(music), font_(std::make_unique<BitmapFont>(kFontCellSize, kFontFirstGlyph))
{
    font_->load(kShowFontFile);
}

DemoDriver::~DemoDriver() = default;

bool DemoDriver::keyPressed()
{
    return display_.hasKeyboard() && display_.keyHit();
}

float DemoDriver::now() const
{
    return partList_->timer()->now();
}

int DemoDriver::run(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
                    std::int32_t startRow)
{
    if (const int status = begin(partList, firstPart, musicFile, startOrder, startRow); status != 0)
        return status;
    while (frame().drawn)
        display_.present();
    return status_;
}

int DemoDriver::begin(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
                      std::int32_t startRow)
{
    partList_ = &partList;
    if (const int status = setUp(partList, musicFile, startOrder, startRow); status != 0) {
        end(status);
        return status;
    }
    const float started = now();
    showStart_ = started;
    if (Part* first = partList.part(firstPart))
        first->start(started);
    frame_ = display_.frame();
    std::printf("got to loop \n");
    if (Part* opening = partList.part(firstPart))
        opening->start(now());
    partStart_ = now();
    leftByMusic_ = false;
    firstPart_ = firstPart;
    part_ = firstPart;
    phase_ = Phase::Entering;
    return 0;
}

int DemoDriver::setUp(PartList& partList, const char* musicFile, std::int32_t startOrder, std::int32_t startRow)
{
    musicFile_ = musicFile ? musicFile : "";
    const bool musicLoaded = music_.load(musicFile);
    if (!musicLoaded && !display_.hasKeyboard()) {
        // Without music positions the loops end only by keys: nothing could
        // ever end this show.
        std::fputs("the music did not load and there is no keyboard to end the show\n", stderr);
        return 1;
    }
    ImageLoaderRegistry loaders;
    logo_ = loaders.loadPicture(kShowLogo.file, {kShowLogo.width, kShowLogo.height});
    endPicture_ = loaders.loadPicture(kShowEndPicture.file, {kShowEndPicture.width, kShowEndPicture.height});
    if (!display_.open(partList.width(), partList.height(), partList.flag() != 0, partList.depth()) ||
        display_.frame() == nullptr) {
        std::fputs("cannot open the display\n", stderr);
        music_.shutdown();
        return 1;
    }
    std::printf("initing demo \n");
    partList.initAll(*display_.frame());
    std::printf("inited demo \n");
    music_.playAt(startOrder, startRow);
    partList.startClock();
    return 0;
}

ShowFrame DemoDriver::frame()
{
    ShowFrame drawn;
    for (;;) {
        switch (phase_) {
        case Phase::Entering: {
            if (part_ >= kShowPartCount) {
                phase_ = Phase::EndEntering;
                break;
            }
            const ShowPartEntry& entry = kShowParts[part_];
            if (part_ != firstPart_) {
                partStart_ = nextPartStart();
                if (Part* part = partList_->part(part_))
                    part->start(partStart_);
            }
            if (entry.cueLayer >= 0)
                lastBonkRow_ = -1;
            // Each key press is consumed by the test that sees it, so one
            // press skips exactly one part.
            if (keyPressed()) {
                leftByMusic_ = false;
                ++part_;
                break;
            }
            passesAtStart_ = music_.passes();
            phase_ = Phase::Running;
            break;
        }
        case Phase::Running:
            if (runPart(drawn))
                return drawn;
            if (phase_ == Phase::Over)
                return {};
            ++part_;
            phase_ = Phase::Entering;
            break;
        case Phase::EndEntering:
        case Phase::EndShown:
            return endPictureFrame();
        case Phase::Over:
            return {};
        }
    }
}

bool DemoDriver::runPart(ShowFrame& drawn)
{
    leftByMusic_ = false;
    if (afterBody_) {
        afterBody_ = false;
        if (keyPressed())
            return false;
    }
    const ShowPartEntry& entry = kShowParts[part_];
    if (entry.leavesAt(music_.order())) {
        leftByMusic_ = true;
        return false;
    }
    if (!display_.hasKeyboard() && music_.passes() - passesAtStart_ >= kPassesOfAStuckLoop) {
        reportFileProblem(musicFile_, "the music played a whole pass without reaching order " +
                                          std::to_string(entry.awaitedOrder) +
                                          ", which the show waits for; without a keyboard nothing else can end it");
        music_.shutdown();
        end(1);
        return false;
    }
    Part* part = partList_->part(part_);
    const std::int32_t order = music_.order();
    const std::int32_t row = music_.row();
    if (entry.cueOn(row) && row != lastBonkRow_) {
        if (EffectLayer* layer = part != nullptr ? part->layer(entry.cueLayer) : nullptr)
            layer->setParam("BONK", nullptr);
        lastBonkRow_ = row;
    }
    if (order != lastOrder_ || row != lastRow_)
        dispatchPosition(part, order, row);
    drawn.time = now();
    partList_->renderPart(part_, *frame_);
    if (logo_ && entry.logoOn(row))
        logo_->addAt(*frame_, kShowLogo.x, kShowLogo.y);
    afterBody_ = true;
    drawn.drawn = true;
    drawn.part = part_;
    drawn.order = order;
    drawn.row = row;
    return true;
}

void DemoDriver::place(const Placement& at)
{
    if (phase_ == Phase::Over || partList_ == nullptr)
        return;
    lastOrder_ = at.order;
    lastRow_ = at.row;
    afterBody_ = false;
    leftByMusic_ = false;
    if (at.part < 0 || at.part >= kShowPartCount) {
        part_ = kShowPartCount;
        if (phase_ != Phase::EndShown)
            phase_ = Phase::EndEntering;
        return;
    }
    part_ = at.part;
    partStart_ = at.partStart;
    lastBonkRow_ = at.lastCueRow;
    passesAtStart_ = music_.passes();
    phase_ = Phase::Running;
}

float DemoDriver::nextPartStart()
{
    const float at = now();
    if (!leftByMusic_)
        return at;
    // The music ended the last part when its order began, which may be a
    // little before this frame saw it: the next part starts there, at a
    // time that does not depend on the frame rate. To the millisecond, as
    // the show clock counts.
    const std::int64_t ms = music_.orderStartMs();
    if (ms < 0 || partStart_ > at)
        return at;
    const float start = static_cast<float>(static_cast<double>(ms) * 0.001);
    return std::clamp(start, partStart_, at);
}

void DemoDriver::dispatchPosition(Part* part, std::int32_t order, std::int32_t row)
{
    if (part != nullptr && part->actionTable() != nullptr) {
        const std::int32_t action = part->actionTable()->lookup(order, row);
        if (action != ActionTable::kNoAction)
            part->action(action);
    }
    lastOrder_ = order;
    lastRow_ = row;
}

ShowFrame DemoDriver::endPictureFrame()
{
    ShowFrame shown;
    shown.drawn = true;
    if (phase_ == Phase::EndEntering) {
        if (endPicture_)
            endPicture_->copyTo(*frame_);
        music_.shutdown();
        endShownAt_ = now();
        phase_ = Phase::EndShown;
        // With a keyboard a key already pending ends it unseen.
        if (display_.hasKeyboard() && display_.keyHit()) {
            end(0);
            return {};
        }
        shown.time = endShownAt_;
        return shown;
    }
    // With a keyboard the end picture waits for a key; without, it stays
    // for a while by the show clock.
    const bool done =
        display_.hasKeyboard() ? display_.keyHit() : now() - endShownAt_ >= kEndPictureSeconds;
    if (done) {
        end(0);
        return {};
    }
    shown.time = now();
    shown.unchanged = true;
    return shown;
}

void DemoDriver::end(int status)
{
    status_ = status;
    phase_ = Phase::Over;
}

} // namespace zov
