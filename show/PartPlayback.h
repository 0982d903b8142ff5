#pragma once

#include <functional>

namespace zov {

class Bitmap;

// One part of the show played headless on a hand-advanced clock: frame n is
// show time n x kPlaybackFrameSeconds from the part's start, and the music is
// scripted at 8 rows a second from order 0, row 0, so that the part runs as
// long as asked and gets its "BONK" cues as the show sends them. The same
// frames come out on every run; for golden frames and previews of the parts.
inline constexpr double kPlaybackFrameSeconds = 0.01;
inline constexpr int kPlaybackRowsPerSecond = 8;

// Plays part `index` (0 to kShowPartCount - 1) from data/ in the working
// directory, frames 0 to lastFrame, handing each to keep(frame number, frame)
// as the part drew it (before the logo). The object layers' "BONK" offset
// is shared by the whole program, so a part played after the second one
// starts its star where that one left it, as in the show.
void playShowPart(int index, int lastFrame, const std::function<void(int, const Bitmap&)>& keep);

} // namespace zov
