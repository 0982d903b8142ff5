#include "platform/FrameLimitDisplay.h"

namespace zov {

FrameLimitDisplay::FrameLimitDisplay(std::unique_ptr<DisplayDriver> inner, std::int64_t limit,
                                     std::function<void()> onLimit)
    : WrappedDisplay(std::move(inner)), remaining_(limit), onLimit_(std::move(onLimit))
{
}

bool FrameLimitDisplay::present()
{
    if (remaining_ <= 0)
        return false;
    return count(WrappedDisplay::present());
}

bool FrameLimitDisplay::presentBitmap(const Bitmap& bitmap)
{
    if (remaining_ <= 0)
        return false;
    return count(WrappedDisplay::presentBitmap(bitmap));
}

bool FrameLimitDisplay::count(bool shown)
{
    if (--remaining_ == 0) {
        inner().close();
        if (onLimit_)
            onLimit_();
    }
    return shown;
}

} // namespace zov
