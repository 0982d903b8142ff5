// The lockstep run of the native programs, which read WAV streams as well as
// modules; apart from LockstepShow.cpp so that a build without SDL (the web
// page) links the run with an opener of its own.
#include "show/capture/LockstepShow.h"

#include "platform/sdl/FileSources.h"

namespace zov {

LockstepShow::LockstepShow(FrameRate rate) : LockstepShow(rate, nullptr, std::make_unique<FileSourceOpener>()) {}

} // namespace zov
