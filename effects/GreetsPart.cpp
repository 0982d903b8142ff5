#include "effects/GreetsPart.h"

#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "raster/FixedPoint.h"

#include <cmath>

namespace zov {

namespace {

constexpr const char* kPortraitFiles[GreetsPart::kPortraits] = {"data/umbra1.jpg", "data/umbra2.jpg",
                                                                "data/umbra3.jpg"};
constexpr const char* kMaskFiles[GreetsPart::kPortraits] = {"data/umbra1a.jpg", "data/umbra2a.jpg", "data/umbra3a.jpg"};
constexpr const char* kGreetsFile = "data/greets.jpg";

} // namespace

GreetsPart::GreetsPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers)
    : LayeredPart(backgroundName, std::move(layers))
{
}

GreetsPart::~GreetsPart() = default;

void GreetsPart::init(Bitmap& frame, NewRenderDriver& renderDriver)
{
    LayeredPart::init(frame, renderDriver);
    // The part keeps its own loader list, so it names the loader it picks.
    ImageLoaderRegistry registry;
    const PictureRequest portrait{kPortraitWidth, kPortraitHeight, false, true};
    for (int k = 0; k < kPortraits; ++k) {
        portraits_[k] = registry.loadPicture(kPortraitFiles[k], portrait);
        masks_[k] = registry.loadPicture(kMaskFiles[k], portrait);
    }
    greetings_ = registry.loadPicture(kGreetsFile, {kGreetsWidth, kGreetsHeight, false, true});
    window_ = std::make_unique<Bitmap>(kGreetsWidth, kWindowHeight);
}

int GreetsPart::portraitAt(float time)
{
    const std::int64_t quarter = fixed::truncate(time * 4.0f);
    return static_cast<int>(((quarter % kPortraits) + kPortraits) % kPortraits);
}

int GreetsPart::windowRowAt(float time, int frameHeight)
{
    return static_cast<int>(fixed::truncate((std::sin(1.5 * time) * 0.45 + 0.5) * frameHeight));
}

void GreetsPart::render(Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    LayeredPart::render(frame, renderDriver, time);
    const int k = portraitAt(time);
    if (portraits_[k] && masks_[k])
        portraits_[k]->maskAt(frame, static_cast<int>(frame.width() * 0.52), static_cast<int>(frame.height() * 0.31),
                              *masks_[k]);
    if (greetings_ && window_) {
        greetings_->blitScroll(*window_, 0, 0, 0, windowRowAt(time, frame.height()), true, false);
        window_->addAt(frame, 0, 0);
    }
}

} // namespace zov
