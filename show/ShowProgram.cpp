#include "show/ShowProgram.h"

#include "effects/ShowFactories.h"
#include "image/Bitmap.h"
#include "platform/DisplayDriver.h"
#include "raster/NewRenderDriver.h"
#include "show/DemoDriver.h"
#include "runtime/Part.h"
#include "runtime/PartList.h"
#include "runtime/ShowConstants.h"

#include <memory>
#include <vector>

namespace zov {

namespace {

// Everything the program entry builds for one run of the show.
struct Show {
    std::unique_ptr<NewRenderDriver> renderDriver;
    std::unique_ptr<PartList> partList;
    std::unique_ptr<Part> parts[4];
    std::unique_ptr<DemoDriver> driver;
};

// The show's objects live until the process ends: released earlier, their
// bitmaps and render driver would announce it after the show's last line.
// Kept reachable, so they are not leaks.
Show& keepUntilExit(std::unique_ptr<Show> show)
{
    static auto* const kept = new std::vector<std::unique_ptr<Show>>();
    kept->push_back(std::move(show));
    return *kept->back();
}

} // namespace

int runShow(DisplayDriver& display, MusicPlayer& music, Clock& clock, const ShowRunOptions& options)
{
    // Only describes the target size to the render driver.
    auto frameDescriptor = std::make_unique<Bitmap>();
    frameDescriptor->setSize(kScreenWidth, kScreenHeight);

    Show& show = keepUntilExit(std::make_unique<Show>());
    show.renderDriver = std::make_unique<NewRenderDriver>(*frameDescriptor);
    show.partList = std::make_unique<PartList>(kScreenWidth, kScreenHeight, kColourDepth, kDisplayFlag,
                                               *show.renderDriver, clock);
    show.parts[0] = makeSlidePart(kScreenWidth, kScreenHeight);
    show.parts[1] = makeTunnelPart(kScreenWidth, kScreenHeight);
    show.parts[2] = makeScrollerPart(kScreenWidth, kScreenHeight);
    show.parts[3] = makeGreetsPart(kScreenWidth, kScreenHeight);
    for (auto& part : show.parts)
        show.partList->addPart(part.get());
    show.partList->setPartRenderer(options.partRenderer);

    display.invertOnPresent = false;
    show.driver = std::make_unique<DemoDriver>(display, music);
    const int status = show.driver->run(*show.partList, 0, kShowMusicFile, options.startOrder, 0);

    frameDescriptor.reset();
    return status;
}

} // namespace zov
