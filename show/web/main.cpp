// The web page's program: the show in a browser. The page's address says
// what it does (PageOptions.h): play the show with its music, one frame per
// animation-frame callback; draw one lockstep frame; or run the timedemo.
// The show's lines go to the browser's console.
#include "platform/AudioMusicPlayer.h"
#include "platform/Clock.h"
#include "platform/openmpt/ModuleSource.h"
#include "platform/web/PageClock.h"
#include "platform/web/WebAudioLayer.h"
#include "platform/web/WebDisplay.h"
#include "platform/web/WebPage.h"
#include "runtime/ShowConstants.h"
#include "show/ShowSession.h"
#include "show/capture/LockstepShow.h"
#include "show/timedemo/Timedemo.h"
#include "show/web/PageOptions.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>

namespace zov {

namespace {

// The show with its music, set up while the page waits for the user to
// start it, then one frame per display frame.
class PagePlayer {
public:
    PagePlayer() : audio_(opener_, clock_), music_(audio_, page::exitProgram), session_(display_, music_, clock_) {}

    bool begin()
    {
        if (session_.begin() != 0) {
            page::exitProgram(session_.finish());
            return false;
        }
        page::setState("ready");
        return true;
    }

    bool frame()
    {
        if (!clock_.started()) {
            if (!page::startRequested())
                return true;
            display_.keyHit(); // the press that started the show skips nothing
            clock_.start();
            page::setState("playing");
        }
        audio_.pump();
        const ShowFrame shown = session_.frame();
        if (!shown.drawn) {
            status_ = session_.finish();
            return false;
        }
        display_.present();
        if (!firstShown_)
            page::noteFirstFrame();
        if (shown.part != part_ || !firstShown_) {
            part_ = shown.part;
            page::setPart(part_);
            if (part_ < 0)
                page::setState("end picture");
        }
        firstShown_ = true;
        return true;
    }

    int status() const { return status_; }

private:
    PageClock clock_;
    ModuleFileOpener opener_;
    WebAudioLayer audio_;
    AudioMusicPlayer music_;
    WebDisplay display_;
    ShowSession session_;
    bool firstShown_ = false;
    int part_ = 0; // on the canvas
    int status_ = 0;
};

void fail(const std::string& problem)
{
    std::fprintf(stderr, "zov: %s\n", problem.c_str());
    page::setState("failed");
}

// Frame `frame` of a lockstep run at fps, without sound, on the canvas.
void drawLockstepFrame(const PageOptions& options)
{
    WebDisplay display;
    if (!display.open(kScreenWidth, kScreenHeight, false, kColourDepth))
        return fail("no canvas to draw on");
    ModuleFileOpener opener;
    LockstepShow show(options.fps, opener);
    if (show.begin(0) != 0 || !show.openAt(options.frame))
        return fail("the show cannot open at frame " + std::to_string(options.frame));
    const LockstepFrame* drawn = show.next();
    if (drawn == nullptr)
        return fail("frame " + std::to_string(options.frame) + " comes after the show's end");
    display.presentBitmap(*drawn->picture);
    const FrameFacts& facts = drawn->facts;
    char json[160];
    std::snprintf(json, sizeof json, "{\"showMicros\": %" PRId64 ", \"part\": %d, \"order\": %d, \"row\": %d}",
                  static_cast<std::int64_t>(options.frame) * 1'000'000 / options.fps, facts.part,
                  static_cast<int>(facts.order), static_cast<int>(facts.row));
    page::setResult(json);
    page::setState("done");
}

// demobench's run, a slice of frames at a time so that the page stays
// responsive; the table goes to the console.
class PageTimedemo {
public:
    explicit PageTimedemo(int framesPerPart) : started_(clock_.ticks()), run_(show_, framesPerPart, clock_) {}

    bool begin()
    {
        if (run_.begin())
            return true;
        end();
        return false;
    }

    bool slice()
    {
        const std::int64_t until = clock_.ticks() + clock_.ticksPerSecond() / kSlicesPerSecond;
        while (clock_.ticks() < until)
            if (!run_.step()) {
                end();
                return false;
            }
        return true;
    }

private:
    static constexpr int kSlicesPerSecond = 20;

    void end()
    {
        TimedemoReport report = run_.finish(started_);
        report.peakResidentKb = page::memoryKb();
        std::printf("\n%s", timedemoTable(report).c_str());
        page::setResult(timedemoJson(report));
        page::setState(report.status == 0 ? "done" : "failed");
    }

    MonotonicClock clock_;
    std::int64_t started_;
    ModuleFileOpener opener_;
    LockstepShow show_{kTimedemoFps, opener_};
    TimedemoRun run_;
};

} // namespace

} // namespace zov

int main()
{
    using namespace zov;
    const ParsedPageOptions parsed = parsePageOptions(page::query());
    if (!parsed.problem.empty()) {
        fail(parsed.problem);
        return 0;
    }
    const PageOptions& options = parsed.options;
    switch (options.mode) {
    case PageOptions::Mode::Lockstep: drawLockstepFrame(options); break;
    case PageOptions::Mode::Timedemo: {
        // Lives on after main returns, as the page's callbacks run it.
        static auto timedemo = std::make_unique<PageTimedemo>(options.framesPerPart);
        if (timedemo->begin())
            page::runUntilDone([] { return timedemo->slice(); });
        break;
    }
    case PageOptions::Mode::Play: {
        static auto player = std::make_unique<PagePlayer>();
        if (player->begin())
            page::runEachFrame([] {
                if (player->frame())
                    return true;
                // The program's end: what it holds goes, and the display's
                // frame says so last, as when the native program ends.
                const int status = player->status();
                player.reset();
                page::setState(status == 0 ? "over" : "failed");
                return false;
            });
        break;
    }
    }
    return 0;
}
