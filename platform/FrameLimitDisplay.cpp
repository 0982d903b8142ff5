#include "platform/FrameLimitDisplay.h"

namespace zov {

FrameLimitDisplay::FrameLimitDisplay(std::unique_ptr<DisplayDriver> inner, std::int64_t limit,
                                     std::function<void()> onLimit)
    : inner_(std::move(inner)), remaining_(limit), onLimit_(std::move(onLimit))
{
}

bool FrameLimitDisplay::present()
{
    if (remaining_ <= 0)
        return false;
    inner_->invertOnPresent = invertOnPresent;
    return count(inner_->present());
}

bool FrameLimitDisplay::presentBitmap(const Bitmap& bitmap)
{
    if (remaining_ <= 0)
        return false;
    return count(inner_->presentBitmap(bitmap));
}

bool FrameLimitDisplay::count(bool shown)
{
    if (--remaining_ == 0) {
        inner_->close();
        if (onLimit_)
            onLimit_();
    }
    return shown;
}

} // namespace zov
