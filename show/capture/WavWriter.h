#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zov {

// Streams 16-bit stereo PCM into a WAV file. The header's sizes are written
// by finish(), so a file cut short by a failure reads as empty rather than
// as whole. Buffers are made by open: writing allocates nothing.
class WavWriter {
public:
    // Writes of up to maxFrames stereo frames at a time.
    explicit WavWriter(std::size_t maxFrames);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // False, with the reason in error, when the file cannot be created.
    bool open(const std::string& path, int sampleRate, std::string& error);
    // Interleaved stereo floats in -1..1 (clamped), rounded to 16 bits.
    bool write(const float* leftRight, std::size_t frames, std::string& error);
    // Completes the header and closes; false when the data did not all reach
    // the file.
    bool finish(std::string& error);

    std::int64_t framesWritten() const { return frames_; }

private:
    bool fail(std::string& error);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> fileBuffer_;
    std::vector<std::uint8_t> pcm_;
    std::int64_t frames_ = 0;
    int sampleRate_ = 0;
};

} // namespace zov
