#include "effects/ScrollerLayer.h"

#include "effects/ParamProtocol.h"
#include "image/Bitmap.h"
#include "image/ImageLoaderRegistry.h"
#include "raster/FixedPoint.h"

namespace zov {

ScrollerLayer::ScrollerLayer() = default;
ScrollerLayer::~ScrollerLayer() = default;

void ScrollerLayer::setParam(const char* key, const void* value)
{
    if (isParamKey(key, "FILENAME"))
        fileName_ = static_cast<const char*>(value);
    if (isParamKey(key, "WIDTH"))
        readParamWord(value, width_);
    if (isParamKey(key, "HEIGHT"))
        readParamWord(value, height_);
}

void ScrollerLayer::init()
{
    strip_ = ImageLoaderRegistry().loadPicture(kStripFile, {kStripWidth, kStripHeight});
}

std::int64_t ScrollerLayer::sourceColumn(float time, int frameWidth)
{
    return fixed::truncate((static_cast<double>(time) * 0.3 - 1.0) * frameWidth);
}

void ScrollerLayer::render(Bitmap& frame, float time, int)
{
    if (!strip_ || strip_->width() <= 0)
        return;
    // Whole turns of the strip change nothing; dropping them keeps the column
    // an int however long the show runs.
    const auto x = static_cast<int>(sourceColumn(time, frame.width()) % strip_->width());
    const int y = frame.height() / 2 - strip_->height() / 2;
    strip_->blitScroll(frame, 0, y, x, 0, true, true);
}

} // namespace zov
