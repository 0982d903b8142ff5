#include "effects/TrailObjectPart.h"

#include "effects/FeedbackBlur.h"
#include "image/Bitmap.h"

namespace zov {

TrailObjectPart::TrailObjectPart(const char* backgroundName, std::vector<std::unique_ptr<EffectLayer>> layers)
    : LayeredPart(backgroundName, std::move(layers))
{
}

TrailObjectPart::~TrailObjectPart() = default;

void TrailObjectPart::init(Bitmap& frame, NewRenderDriver& renderDriver)
{
    LayeredPart::init(frame, renderDriver);
    // 3D SEAM: the scene with data/testkub.lwo (its own surfaces, camera at
    // (0, 0, -40)) is built here once the 3D engine lands.
    trail_ = std::make_unique<Bitmap>(frame.width(), frame.height());
}

void TrailObjectPart::render(Bitmap& frame, NewRenderDriver& renderDriver, float time)
{
    LayeredPart::render(frame, renderDriver, time);
    if (!trail_)
        return;
    // 3D SEAM: the object's rotation becomes (T, -1.4 T, 0.6 T) here.
    feedbackBlur4(*trail_);
    // 3D SEAM: the object's position becomes (0, 0, 14 sin 2T) and the scene
    // renders into *trail_ through renderDriver at time T, final argument 1.
    trail_->addTo(frame);
}

} // namespace zov
