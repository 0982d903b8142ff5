#include "effects/TrailObjectPart.h"

#include "effects/FeedbackBlur.h"
#include "effects/FeedbackState.h"
#include "engine3d/Scene.h"
#include "image/Bitmap.h"
#include "lwo/LwoReader.h"
#include "lwo/ObjectBuilder.h"

#include <cmath>

namespace zov {

namespace {

constexpr const char* kObjectFile = "data/testkub.lwo";
constexpr double kCameraZ = -40.0;
constexpr double kSwing = 14.0; // units towards and away from the camera

} // namespace

TrailObjectPart::TrailObjectPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers)
    : LayeredPart(backgroundName, std::move(layers))
{
}

TrailObjectPart::~TrailObjectPart() = default;

void TrailObjectPart::init(Bitmap& frame, NewRenderDriver& renderDriver)
{
    LayeredPart::init(frame, renderDriver);
    LwoReader reader;
    reader.read(kObjectFile);
    object_ = buildObject(reader.result());
    scene_ = std::make_unique<Scene>();
    scene_->addObject(object_.get());
    scene_->setCameraPosition(0.0, 0.0, kCameraZ);
    trail_ = std::make_unique<Bitmap>(frame.width(), frame.height());
}

void TrailObjectPart::render(Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    LayeredPart::render(frame, renderDriver, time);
    if (trail_)
        trail_->addTo(frame);
}

void TrailObjectPart::step(NewRenderDriver& renderDriver, const Bitmap& frame, float time)
{
    LayeredPart::step(renderDriver, frame, time);
    if (!trail_)
        return;
    object_->rotation.set(time, -1.4 * time, 0.6 * time);
    feedbackBlur4(*trail_);
    object_->position.set(0.0, 0.0, kSwing * std::sin(2.0 * time));
    // Each step's cube is judged on its own depths, not on how many steps
    // came before.
    scene_->restartFrameCounter();
    scene_->render(*trail_, renderDriver, static_cast<double>(time), 1);
}

void TrailObjectPart::restartFeedback()
{
    LayeredPart::restartFeedback();
    if (trail_)
        trail_->fill(0);
}

std::size_t TrailObjectPart::feedbackWords() const
{
    return LayeredPart::feedbackWords() + bitmapStateWords(trail_.get());
}

void TrailObjectPart::saveFeedback(std::uint32_t*& out) const
{
    LayeredPart::saveFeedback(out);
    saveBitmapState(trail_.get(), out);
}

void TrailObjectPart::loadFeedback(const std::uint32_t*& in)
{
    LayeredPart::loadFeedback(in);
    loadBitmapState(trail_, in);
}

} // namespace zov
