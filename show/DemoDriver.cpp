#include "show/DemoDriver.h"

#include "effects/EffectLayer.h"
#include "image/Bitmap.h"
#include "image/Diagnostics.h"
#include "image/ImageLoaderRegistry.h"
#include "platform/DisplayDriver.h"
#include "platform/MusicPlayer.h"
#include "runtime/ActionTable.h"
#include "show/BitmapFont.h"
#include "runtime/DemoTimer.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace zov {

namespace {

constexpr const char* kFontFile = "data/mossel2.pcx";
constexpr const char* kLogoFile = "data/kestrel.jpg";
constexpr const char* kEndPictureFile = "data/end.jpg";
constexpr int kLogoWidth = 512;
constexpr int kLogoHeight = 256;
constexpr int kEndPictureWidth = 512;
constexpr int kEndPictureHeight = 384;
// The second part's star layer, which jumps on every eighth row.
constexpr int kBonkLayer = 1;
constexpr std::int32_t kBonkRowStep = 8;
// Going back to the restart position twice within one loop means a whole
// pass of the orders went by: the awaited one is not among them.
constexpr std::uint64_t kPassesOfAStuckLoop = 2;

// One loop of the show: which part it renders, when the music ends it
// (awaitedOrder names it to a user), on which rows the logo flashes, and
// whether the star gets its cue.
struct ShowLoop {
    int part;
    std::int32_t awaitedOrder;
    bool (*leaves)(std::int32_t order);
    bool (*logoOn)(std::int32_t row);
    bool bonk;
};

constexpr ShowLoop kLoops[] = {
    {0, 2, [](std::int32_t order) { return order >= 2; }, [](std::int32_t row) { return row >= 0 && row % 32 <= 2; },
     false},
    {1, 5, [](std::int32_t order) { return order >= 5; },
     [](std::int32_t row) { return row % 32 == 0 || row % 16 == 1 || row % 4 == 2; }, true},
    // Exactly 2: after the second part the module has passed order 2 and
    // this loop waits for it to loop back there.
    {2, 2, [](std::int32_t order) { return order == 2; }, [](std::int32_t) { return false; }, false},
    {3, 4, [](std::int32_t order) { return order >= 4; }, [](std::int32_t) { return false; }, false},
};

} // namespace

static_assert(std::size(kLoops) == DemoDriver::kLoopCount);

bool DemoDriver::loopEndsAt(int loop, std::int32_t order)
{
    return loop >= 0 && loop < kLoopCount && kLoops[loop].leaves(order);
}

DemoDriver::DemoDriver(DisplayDriver& display, MusicPlayer& music)
    : display_(display), music_(music), font_(std::make_unique<BitmapFont>(kFontCellSize, kFontFirstGlyph))
{
    font_->load(kFontFile);
}

DemoDriver::~DemoDriver() = default;

bool DemoDriver::keyPressed()
{
    return display_.hasKeyboard() && display_.keyHit();
}

int DemoDriver::run(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
                    std::int32_t startRow)
{
    if (const int status = setUp(partList, musicFile, startOrder, startRow); status != 0)
        return status;

    DemoTimer& timer = *partList.timer();
    const float started = timer.now();
    showStart_ = started;
    if (Part* first = partList.part(firstPart))
        first->setStartTime(started);
    Bitmap& frame = *display_.frame();
    std::printf("got to loop \n");
    if (Part* opening = partList.part(0))
        opening->setStartTime(timer.now());

    for (int loop = 0; loop < static_cast<int>(std::size(kLoops)); ++loop)
        if (!runLoop(loop, partList, frame)) {
            music_.shutdown();
            return 1;
        }
    showEndPicture(partList, frame);
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
    logo_ = loaders.loadPicture(kLogoFile, {kLogoWidth, kLogoHeight});
    endPicture_ = loaders.loadPicture(kEndPictureFile, {kEndPictureWidth, kEndPictureHeight});
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

bool DemoDriver::runLoop(int loop, PartList& partList, Bitmap& frame)
{
    const ShowLoop& rule = kLoops[loop];
    Part* part = partList.part(rule.part);
    if (loop > 0 && part != nullptr)
        part->setStartTime(partList.timer()->now());
    if (rule.bonk)
        lastBonkRow_ = -1;
    // Each key press is consumed by the test that sees it, so one press
    // skips exactly one loop.
    if (keyPressed())
        return true;
    const std::uint64_t passesAtStart = music_.passes();
    do {
        if (rule.leaves(music_.order()))
            break;
        if (!display_.hasKeyboard() && music_.passes() - passesAtStart >= kPassesOfAStuckLoop) {
            reportFileProblem(musicFile_, "the music played a whole pass without reaching order " +
                                              std::to_string(rule.awaitedOrder) +
                                              ", which the show waits for; without a keyboard nothing else can "
                                              "end it");
            return false;
        }
        const std::int32_t order = music_.order();
        const std::int32_t row = music_.row();
        if (rule.bonk && row % kBonkRowStep == 0 && row != lastBonkRow_) {
            if (EffectLayer* star = part != nullptr ? part->layer(kBonkLayer) : nullptr)
                star->setParam("BONK", nullptr);
            lastBonkRow_ = row;
        }
        if (order != lastOrder_ || row != lastRow_)
            dispatchPosition(part, order, row);
        partList.renderPart(rule.part, frame);
        if (logo_ && rule.logoOn(row))
            logo_->addAt(frame, kLogoX, kLogoY);
        display_.present();
    } while (!keyPressed());
    return true;
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

void DemoDriver::showEndPicture(PartList& partList, Bitmap& frame)
{
    if (endPicture_)
        endPicture_->copyTo(frame);
    music_.shutdown();
    if (display_.hasKeyboard()) {
        if (!display_.keyHit()) {
            do
                display_.present();
            while (!display_.keyHit());
        }
        return;
    }
    // No key can dismiss it: it stays for a while by the show clock.
    DemoTimer& timer = *partList.timer();
    const float shownAt = timer.now();
    do
        display_.present();
    while (timer.now() - shownAt < kEndPictureSeconds);
}

} // namespace zov
