#pragma once

#include "effects/ShowFactories.h"

#include <cstdint>
#include <iterator>

namespace zov {

// The whole show, written down once: its parts in playing order, how the
// music leads each of them, and what closes it. Every program that plays,
// captures, times or draws the show reads it from here.

// How the music ends a part's loop.
enum class LeaveRule {
    AtOrAfter, // the order reaches the awaited one or any later one
    Exactly,   // the order is the awaited one (waits for the module to loop back)
};

struct ShowPartEntry {
    const char* name;  // one word, for file names and command lines
    const char* title; // for people
    PartFactory make;
    const char* background;
    std::int32_t awaitedOrder;
    LeaveRule leave;
    // Bit r set: the logo flashes on rows r, r + 32, r + 64, ...
    std::uint32_t logoRows;
    // The layer sent "BONK" once on each row that is a multiple of cueRowStep;
    // -1: none.
    int cueLayer;
    std::int32_t cueRowStep;

    bool leavesAt(std::int32_t order) const
    {
        return leave == LeaveRule::Exactly ? order == awaitedOrder : order >= awaitedOrder;
    }
    // Rows are never negative: they come from the 16 bits of a position.
    bool logoOn(std::int32_t row) const { return row >= 0 && (logoRows >> (row & 31) & 1) != 0; }
    bool cueOn(std::int32_t row) const { return cueLayer >= 0 && row % cueRowStep == 0; }
};

constexpr std::uint32_t rowBits(std::initializer_list<int> rows)
{
    std::uint32_t bits = 0;
    for (int r : rows)
        bits |= 1u << r;
    return bits;
}

inline constexpr ShowPartEntry kShowParts[] = {
    {"slide", "title and trails", makeSlidePart, "data/bak4.jpg", 2, LeaveRule::AtOrAfter, rowBits({0, 1, 2}), -1,
     0},
    {"tunnel", "particle tunnel", makeTunnelPart, "data/bak2.jpg", 5, LeaveRule::AtOrAfter,
     rowBits({0, 1, 2, 6, 10, 14, 17, 18, 22, 26, 30}), 1, 8},
    // After the tunnel the module has passed order 2: this part waits for
    // the music to loop back there.
    {"scroller", "bubbles, grid, scroller", makeScrollerPart, "data/bak1.jpg", 2, LeaveRule::Exactly, 0, -1, 0},
    {"greets", "portraits and greetings", makeGreetsPart, "data/bak3.jpg", 4, LeaveRule::AtOrAfter, 0, -1, 0},
};
inline constexpr int kShowPartCount = static_cast<int>(std::size(kShowParts));

// A picture the driver draws itself, and where.
struct ShowPicture {
    const char* file;
    int width;
    int height;
    int x;
    int y;
};

// The logo added over the parts on the rows they choose; its right 30
// columns fall outside the frame.
inline constexpr ShowPicture kShowLogo{"data/kestrel.jpg", 512, 256, 30, 40};
// What stays on screen once the last part is over.
inline constexpr ShowPicture kShowEndPicture{"data/end.jpg", 512, 384, 0, 0};
// How long the end picture stays when there is no key to dismiss it.
inline constexpr float kEndPictureSeconds = 3.0f;
// The show's music, relative to the folder that holds data/.
inline constexpr const char* kShowMusicFile = "data/cute5c.xm";
// The font the driver cuts at start-up.
inline constexpr const char* kShowFontFile = "data/mossel2.pcx";

// The entry called name, or none.
const ShowPartEntry* findShowPart(const char* name);

} // namespace zov
