#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zov::test {

// A small FastTracker 2 module: two channels, one looped sine instrument,
// patterns of `rows` rows with a note every fourth row, speed and BPM set
// on row 0 of every pattern so every pass plays alike.
struct TinyXm {
    int patterns = 3;
    int rows = 16;
    std::vector<int> orders{0, 1, 2};
    int restart = 0;
    int speed = 6;
    int bpm = 125;
};

std::vector<std::uint8_t> makeTinyXm(const TinyXm& song);
// A 16-bit PCM WAV of frames frames at rate, channels 1 or 2.
std::vector<std::uint8_t> makeWav(int rate, int channels, int frames);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// A path in the test's working directory, unique to this process.
std::string scratchPath(const std::string& name);

} // namespace zov::test
