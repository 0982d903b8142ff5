#pragma once

#include <functional>
#include <string>

namespace zov::page {

// The page the program runs in: index.html keeps a `zov` object that the
// program and the page share (its state, the start gesture, results), and
// the browser calls the program back once per display frame or as often as
// it can. Nothing here blocks.

// The page's address after "?" (location.search), "" when there is none.
std::string query();

// Whether the user has started the show (a click, touch or key on the
// "click to start" screen), or the browser lets sound play without it.
bool startRequested();
// Marks the frame just shown as the first: the page keeps the time since
// the start (zov.firstFrameMs).
void noteFirstFrame();

// What the page shows and tests read (zov.state): "ready", "playing",
// "end picture", "over", "done" (a lockstep frame or timedemo has its
// result), "failed".
void setState(const char* state);
// The part on the canvas (zov.part): its index, -1 for the end picture.
void setPart(int part);
// A result for tests and benchmarks, as JSON text (zov.result).
void setResult(const std::string& json);

// Calls frame from the browser's animation-frame callback until it returns
// false. One loop at a time.
void runEachFrame(std::function<bool()> frame);
// Calls step as often as the browser allows, not waiting for the display,
// until it returns false. One loop at a time.
void runUntilDone(std::function<bool()> step);

// Size of the program's memory, in kB.
long memoryKb();

// Ends the program with status: its loops stop, and a status other than 0
// leaves the page "failed".
void exitProgram(int status);

} // namespace zov::page
