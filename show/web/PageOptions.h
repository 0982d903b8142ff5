#pragma once

#include <string>

namespace zov {

// What the web page is asked to do by its address, "?name&name=value...":
//   (nothing)                      play the show with its music
//   lockstep&fps=30&frame=1234     draw, without sound, the frame a capture
//                                  at that many frames a second draws there
//   timedemo[&frames=N]            run the timedemo (at most N frames a part)
// Names the program does not know are left to the page (scaling=smooth).
struct PageOptions {
    enum class Mode { Play, Lockstep, Timedemo };
    Mode mode = Mode::Play;
    int fps = 60;          // lockstep: frames of show time a second
    int frame = 0;         // lockstep: the frame drawn, at show time frame / fps
    int framesPerPart = 0; // timedemo: 0, every frame
};

struct ParsedPageOptions {
    PageOptions options;
    std::string problem; // empty when the address is understood
};

// query: the address after "?".
ParsedPageOptions parsePageOptions(const std::string& query);

} // namespace zov
