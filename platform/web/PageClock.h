#pragma once

#include "platform/Clock.h"

namespace zov {

// The page's clock (performance.now()) in microseconds from start(); it
// reads 0 before, so a show set up while the page waits for the user to
// start it begins at show time 0 when they do.
class PageClock final : public Clock {
public:
    std::int64_t ticks() const override;
    std::int64_t ticksPerSecond() const override { return 1'000'000; }

    void start();
    bool started() const { return started_; }

private:
    double originMs_ = 0.0;
    bool started_ = false;
};

} // namespace zov
