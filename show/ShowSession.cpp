#include "show/ShowSession.h"

#include "image/Bitmap.h"
#include "image/ReleaseLines.h"
#include "platform/DisplayDriver.h"
#include "platform/MusicPlayer.h"
#include "raster/NewRenderDriver.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "runtime/ShowConstants.h"

namespace zov {

ShowSession::ShowSession(DisplayDriver& display, MusicPlayer& music, const Clock& clock, const ShowOptions& options)
    : display_(display), music_(music), options_(options), frameDescriptor_(std::make_unique<Bitmap>())
{
    frameDescriptor_->setSize(kScreenWidth, kScreenHeight);
    renderDriver_ = std::make_unique<NewRenderDriver>(*frameDescriptor_);
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
    driver_ = std::make_unique<DemoDriver>(display_, music_);
    status_ = driver_->begin(*partList_, options_.firstPart, kShowMusicFile, options_.startOrder, 0);
    return status_;
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
