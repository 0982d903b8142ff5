#include "show/capture/FrameRing.h"

#include <algorithm>
#include <chrono>

namespace zov {

FrameRing::FrameRing(std::size_t pixelsPerFrame, std::size_t slots, Consumer consume)
    : pixelsPerFrame_(pixelsPerFrame), slots_(pixelsPerFrame * std::max<std::size_t>(slots, 1)),
      slotCount_(std::max<std::size_t>(slots, 1)), consume_(std::move(consume)), thread_([this] { run(); })
{
}

FrameRing::~FrameRing()
{
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stopping_ = true;
        failed_ = true; // drop what is left
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool FrameRing::push(const std::uint32_t* pixels)
{
    std::uint32_t* slot = nullptr;
    {
        std::unique_lock<std::mutex> hold(mutex_);
        changed_.wait(hold, [this] { return failed_ || head_ - tail_ < slotCount_; });
        if (failed_)
            return false;
        slot = slots_.data() + (head_ % slotCount_) * pixelsPerFrame_;
    }
    // The slot is the producer's alone until head_ moves past it.
    std::copy_n(pixels, pixelsPerFrame_, slot);
    {
        std::lock_guard<std::mutex> hold(mutex_);
        ++head_;
    }
    changed_.notify_all();
    return true;
}

bool FrameRing::finish()
{
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> hold(mutex_);
    return !failed_;
}

void FrameRing::run()
{
    for (;;) {
        const std::uint32_t* slot = nullptr;
        {
            std::unique_lock<std::mutex> hold(mutex_);
            changed_.wait(hold, [this] { return failed_ || stopping_ || head_ != tail_; });
            if (failed_ || head_ == tail_)
                return;
            slot = slots_.data() + (tail_ % slotCount_) * pixelsPerFrame_;
        }
        const auto started = std::chrono::steady_clock::now();
        const bool ok = consume_(slot);
        const auto took = std::chrono::steady_clock::now() - started;
        busyNanos_.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(took).count(),
                             std::memory_order_relaxed);
        consumed_.fetch_add(1, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> hold(mutex_);
            ++tail_;
            failed_ = failed_ || !ok;
        }
        changed_.notify_all();
    }
}

} // namespace zov
