#include "platform/StopSignals.h"

#include <atomic>
#include <csignal>
#include <cstddef>
#include <iterator>

#include <signal.h>

namespace zov {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

// An atomic rather than a volatile flag: the signal may land on any of the
// process's threads, and the flag is read on another.
std::atomic<int> gHeard{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch a lock-free flag");
struct sigaction gOld[std::size(kStopSignals)];
bool gInstalled[std::size(kStopSignals)];

extern "C" void noteStop(int signal)
{
    int none = 0;
    if (gHeard.compare_exchange_strong(none, signal, std::memory_order_relaxed))
        return;
    // A second one: the default, once this handler returns.
    struct sigaction byDefault{};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
    raise(signal);
}

} // namespace

StopSignals::StopSignals()
{
    gHeard.store(0, std::memory_order_relaxed);
    struct sigaction action{};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    for (const int other : kStopSignals)
        sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESTART; // system calls under way go on
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        gInstalled[i] = false;
        if (sigaction(kStopSignals[i], nullptr, &gOld[i]) != 0 || gOld[i].sa_handler == SIG_IGN)
            continue;
        gInstalled[i] = sigaction(kStopSignals[i], &action, nullptr) == 0;
    }
}

StopSignals::~StopSignals()
{
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        if (gInstalled[i])
            sigaction(kStopSignals[i], &gOld[i], nullptr);
}

int StopSignals::heard() const
{
    return gHeard.load(std::memory_order_relaxed);
}

} // namespace zov
