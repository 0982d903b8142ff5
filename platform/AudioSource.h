#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zov {

// A decoded sound a mixer channel plays: a module or a sample stream,
// rendered as interleaved stereo floats at the rate it was opened with.
// Not thread-safe: only the thread that renders may call it while output
// runs.
class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Writes up to frames stereo frames; fewer means the end was reached
    // (never while looping).
    virtual std::size_t render(float* leftRight, std::size_t frames) = 0;
    virtual void setLooping(bool looping) = 0;
    virtual bool looping() const = 0;
    // A module's position word (order low, row high) of the last rendered
    // frame; a stream's position in frames.
    virtual std::uint32_t position() const = 0;
    // Moves to a position word (module) or frame (stream); false when out of
    // range, and the source stays where it was.
    virtual bool seek(std::uint32_t position) = 0;
    // How often the source reached its end, loops included.
    virtual std::uint64_t endCount() const = 0;
    // 1 mono, 2 stereo: what the file held.
    virtual int fileChannels() const = 0;
    // Renders faster and plainer (interpolation aside) where the sound is
    // not heard: the positions and their timing stay as they are.
    virtual void setDraft(bool) {}
    // Plays factor times as fast from now on, its pitch kept (1: as
    // written); false when the source cannot.
    virtual bool setTempo(double /*factor*/) { return false; }
};

// Opens files as sources; error is one of the AudioError codes.
class SourceOpener {
public:
    struct Result {
        std::unique_ptr<AudioSource> source;
        int error = 0;
    };

    virtual ~SourceOpener() = default;
    virtual Result openStream(const char* path, int rate) = 0;
    virtual Result openModule(const char* path, int rate) = 0;
};

} // namespace zov
