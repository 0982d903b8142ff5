#pragma once

#include "tools/xmcompose/XmModule.h"

namespace zov {

// Speed and BPM as the song carries them from row to row.
struct XmTempo {
    int speed; // ticks per row
    int bpm;   // a tick lasts 2.5 / bpm seconds
};

// Plays one order in time only: applies its Fxx effects to `tempo` and
// returns how long the order lasts. Jumps, breaks and pattern delays are not
// followed, so this is for modules that use none.
double orderSeconds(const XmModule& module, int order, XmTempo& tempo);

} // namespace zov
