#pragma once

namespace zov {

class Clock;
class DisplayDriver;
class MusicPlayer;

// The program entry: builds the show (render driver, part list, the four
// parts), runs it on the given display and music with the given clock, and
// returns the process exit status. Paths are relative to the working
// directory, which holds data/.
int runShow(DisplayDriver& display, MusicPlayer& music, Clock& clock);

} // namespace zov
