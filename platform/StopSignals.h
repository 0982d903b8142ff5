#pragma once

namespace zov {

// While one lives, SIGINT (Ctrl-C) and SIGTERM do not end the process but
// are noted, so that a long run can stop between two steps and keep what it
// made. A second one ends the process as usual. A signal that was ignored
// when it was made (a job started in the background) stays ignored. The old
// handlers come back when it goes. One at a time.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal heard, or 0. Cheap enough to read every frame.
    int heard() const;
    // What a shell makes of a program the signal ended: 128 + the signal.
    static int exitStatus(int signal) { return 128 + signal; }
};

} // namespace zov
