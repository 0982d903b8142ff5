#include "platform/HeadlessDisplay.h"

#include "image/Bitmap.h"

namespace zov {

HeadlessDisplay::HeadlessDisplay() = default;
HeadlessDisplay::~HeadlessDisplay() = default;

bool HeadlessDisplay::present()
{
    if (!frame_)
        return false;
    if (invertOnPresent)
        frame_->invert();
    return presentBitmap(*frame_);
}

bool HeadlessDisplay::presentBitmap(const Bitmap& bitmap)
{
    if (!frame_ || bitmap.width() != frame_->width() || bitmap.height() != frame_->height())
        return false;
    ++presents_;
    if (hook_)
        hook_(bitmap);
    return true;
}

bool HeadlessDisplay::open(int width, int height, bool, int)
{
    if (width <= 0 || height <= 0)
        return false;
    frame_ = std::make_unique<Bitmap>(width, height);
    return true;
}

bool HeadlessDisplay::reopen()
{
    return frame_ != nullptr;
}

} // namespace zov
