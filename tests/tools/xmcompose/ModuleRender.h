#pragma once

#include <cstdint>
#include <vector>

// Plays a module through libopenmpt (default render settings, 44100 Hz
// stereo float, looping on) and measures it row by row, as the show sees it.
namespace zov::test {

struct RowVisit {
    int order = 0;
    int row = 0;
    int pass = 0;         // 1 after the song has looped once
    double start = 0.0;   // seconds
    double seconds = 0.0; // how long the row sounded
    double sumSquares = 0.0;
    long samples = 0;
    float peak = 0.0f;

    double rmsDb() const;
};

constexpr int kRenderRate = 44100;

// Renders from the start until `stopAfterOrder` is reached after the loop
// (or `maxSeconds` pass); channels listed in `solo` are the only ones heard
// when it is not empty.
std::vector<RowVisit> renderRows(const std::vector<std::uint8_t>& module, int stopAtOrderAfterLoop,
                                 double maxSeconds, const std::vector<int>& solo = {});

double toDb(double amplitude);

// Combines visits (e.g. all rows of one order and pass).
struct Level {
    double seconds = 0.0;
    double rmsDb = -200.0;
    float peak = 0.0f;
};
Level levelOf(const std::vector<RowVisit>& rows, int order, int pass);

} // namespace zov::test
