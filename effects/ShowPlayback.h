#pragma once

#include <functional>

namespace zov {

class Bitmap;

// The show's parts played headless on a hand-advanced clock: frame n is show
// time n x kPlaybackFrameSeconds, and the music is scripted at 8 rows a
// second from order 0, row 0, with the second part's star sent "BONK" on
// every eighth row as the demo driver sends it. The same frames come out on
// every run; for golden frames and previews of the parts.
inline constexpr int kShowPartCount = 4;
inline constexpr double kPlaybackFrameSeconds = 0.01;
inline constexpr int kPlaybackRowsPerSecond = 8;

// "slide", "tunnel", "scroller", "greets"; null outside 0..3.
const char* showPartName(int index);
// The index of a part's name, or -1.
int showPartIndex(const char* name);

// Makes part `index` (0..3, in playing order) with its factory at 512 x 384,
// initialises it from data/ in the working directory and renders frames 0 to
// lastFrame, handing each to keep(frame number, frame). The object layers'
// "BONK" offset is shared by the whole program, so a part played after the
// second one starts its star where that one left it, as in the show.
void playShowPart(int index, int lastFrame, const std::function<void(int, const Bitmap&)>& keep);

} // namespace zov
