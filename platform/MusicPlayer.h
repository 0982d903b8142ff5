#pragma once

#include <cstdint>

namespace zov {

// Plays the show's music and reports the position being heard as a module
// order and row, which is what the show follows. The operations keep this
// order.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;

    virtual bool load(const char* path) = 0;
    virtual bool start() = 0;
    virtual bool resumeStream(std::int32_t unused) = 0;
    virtual bool playAt(std::int32_t order, std::int32_t row) = 0;
    virtual bool stopStream() = 0;
    virtual bool shutdown() = 0;
    virtual std::int32_t order() = 0;
    virtual std::int32_t row() = 0;
    virtual bool pauseStream() = 0;
    virtual std::int32_t streamPosition() = 0;

    // How often the music has gone back to its restart position (or ended)
    // since it was loaded; 0 when the player cannot tell.
    virtual std::uint64_t passes() { return 0; }
    // Milliseconds of music, from where playAt started it, at which the
    // order being heard began (the run it is in now); negative when the
    // player cannot tell. What the music leads takes its time from here
    // rather than from the frame that first saw it.
    virtual std::int64_t orderStartMs() { return -1; }
    // Plays the music again from where playAt started it, as if
    // numerator / denominator seconds had already played. False when the
    // player cannot.
    virtual bool playFrom(std::int64_t /*numerator*/, std::int64_t /*denominator*/) { return false; }
    // Holds the music still and silent where it stands; playFrom plays it
    // again. False when the player cannot.
    virtual bool pauseMusic() { return false; }
    // Plays the music factor times as fast from now on, its pitch kept (1:
    // as written). False when the player cannot; the music then keeps its
    // pace.
    virtual bool setTempo(double /*factor*/) { return false; }
};

// The module position word: order in the low 16 bits, row in the high 16.
constexpr std::uint32_t modulePosition(std::int32_t order, std::int32_t row)
{
    return (static_cast<std::uint32_t>(row & 0xFFFF) << 16) | static_cast<std::uint32_t>(order & 0xFFFF);
}
constexpr std::int32_t positionOrder(std::uint32_t position) { return static_cast<std::int32_t>(position & 0xFFFF); }
constexpr std::int32_t positionRow(std::uint32_t position) { return static_cast<std::int32_t>(position >> 16); }

} // namespace zov
