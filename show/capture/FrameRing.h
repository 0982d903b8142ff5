#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zov {

// Hands frames to a thread of their own through a small ring of buffers
// made once: that thread packs and writes a frame while the next is drawn.
// push() copies a frame into a free slot, waiting for one only when the
// consumer is a whole ring behind.
class FrameRing {
public:
    // Runs on the ring's thread, once a frame in order; false stops the ring.
    using Consumer = std::function<bool(const std::uint32_t* pixels)>;

    FrameRing(std::size_t pixelsPerFrame, std::size_t slots, Consumer consume);
    // Stops the thread; frames not yet consumed are dropped.
    ~FrameRing();
    FrameRing(const FrameRing&) = delete;
    FrameRing& operator=(const FrameRing&) = delete;

    // False once the consumer has failed: nothing is taken any more.
    bool push(const std::uint32_t* pixels);
    // Waits until every frame pushed has been consumed and stops the thread;
    // false when the consumer failed.
    bool finish();

    // Frames consumed, and the seconds the consumer took for them (the time
    // the ring's thread waited for a frame left out).
    std::int64_t framesConsumed() const { return consumed_.load(std::memory_order_relaxed); }
    double busySeconds() const { return static_cast<double>(busyNanos_.load(std::memory_order_relaxed)) * 1e-9; }

private:
    void run();

    std::size_t pixelsPerFrame_;
    std::vector<std::uint32_t> slots_; // slot i at i * pixelsPerFrame_
    std::size_t slotCount_;
    Consumer consume_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t head_ = 0; // frames pushed
    std::size_t tail_ = 0; // frames consumed
    bool stopping_ = false;
    bool failed_ = false;
    std::atomic<std::int64_t> consumed_{0};
    std::atomic<std::int64_t> busyNanos_{0};
    std::thread thread_;
};

} // namespace zov
