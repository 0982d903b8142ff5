#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zov {

// Streams 16-bit stereo PCM into a WAV file, each write straight to the
// file. The header's sizes are written by finish(), for whole writes only,
// so a run cut short by a failure or a stop still leaves a WAV that says
// what it holds. Buffers are made by the constructor: writing allocates
// nothing.
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
    // False when they did not all reach the file: none of them then counts.
    bool write(const float* leftRight, std::size_t frames, std::string& error);
    // Ends the file after its first `frames` frames (at most those written),
    // completes the header and closes; false when that failed.
    bool finish(std::int64_t frames, std::string& error);
    bool finish(std::string& error) { return finish(frames_, error); }

    std::int64_t framesWritten() const { return frames_; }

private:
    bool fail(int errorNumber, std::string& error);

    std::string path_;
    int fd_ = -1;
    std::vector<std::uint8_t> pcm_;
    std::int64_t frames_ = 0;    // written whole
    std::int64_t fileBytes_ = 0; // in the file, a write cut short included
    int sampleRate_ = 0;
};

} // namespace zov
