#include "platform/web/WebPage.h"

#include <emscripten.h>
#include <emscripten/heap.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <utility>

namespace zov::page {

namespace {

std::function<bool()> gLoop;

// clang-format off
EM_JS(char*, zovQuery, (), {
    return allocateUTF8(location.search.substring(1));
});

EM_JS(int, zovStartRequested, (), {
    return typeof zov === "object" && zov.started ? 1 : 0;
});

EM_JS(void, zovNoteFirstFrame, (), {
    if (typeof zov === "object" && zov.firstFrameMs === null)
        zov.firstFrameMs = performance.now() - zov.startedAt;
});

EM_JS(void, zovSetState, (const char* state), {
    if (typeof zov === "object")
        zov.setState(UTF8ToString(state));
});

EM_JS(void, zovSetPart, (int part), {
    if (typeof zov === "object")
        zov.part = part;
});

EM_JS(void, zovSetResult, (const char* json), {
    if (typeof zov === "object")
        zov.result = JSON.parse(UTF8ToString(json));
});
// clang-format on

EM_BOOL animationFrame(double, void*)
{
    if (gLoop && gLoop())
        return EM_TRUE;
    gLoop = nullptr;
    return EM_FALSE;
}

void step()
{
    if (gLoop && gLoop())
        return;
    gLoop = nullptr;
    emscripten_cancel_main_loop();
}

} // namespace

std::string query()
{
    char* text = zovQuery();
    std::string result = text ? text : "";
    std::free(text);
    return result;
}

bool startRequested()
{
    return zovStartRequested() != 0;
}

void noteFirstFrame()
{
    zovNoteFirstFrame();
}

void setState(const char* state)
{
    zovSetState(state);
}

void setPart(int part)
{
    zovSetPart(part);
}

void setResult(const std::string& json)
{
    zovSetResult(json.c_str());
}

void runEachFrame(std::function<bool()> frame)
{
    gLoop = std::move(frame);
    emscripten_request_animation_frame_loop(animationFrame, nullptr);
}

void runUntilDone(std::function<bool()> work)
{
    gLoop = std::move(work);
    emscripten_set_main_loop(step, 0, 0);
    emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 1);
}

void exitProgram(int status)
{
    if (status != 0)
        setState("failed");
    emscripten_force_exit(status);
}

long memoryKb()
{
    return static_cast<long>(emscripten_get_heap_size() / 1024);
}

} // namespace zov::page
