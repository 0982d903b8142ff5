#pragma once

#include "effects/EffectLayer.h"
#include "image/Bitmap.h"
#include "platform/Clock.h"
#include "platform/DisplayDriver.h"
#include "platform/MusicPlayer.h"
#include "runtime/ActionTable.h"
#include "runtime/Part.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zov::test {

// A display in memory. Each present is one frame: it moves the clock on by
// 10 ms (presentTicks), records what the frame shows, and delivers the key
// presses scheduled for that frame (frame 0: already pending when the display
// opens). Waiting for input moves the clock on by the time waited and
// delivers the presses scheduled for that wait (counted from 1).
class FakeDisplay final : public DisplayDriver {
public:
    static constexpr int kProbeX = 100; // inside the logo, which starts at (30, 40)
    static constexpr int kProbeY = 100;
    static constexpr int kCornerX = 10; // outside the logo
    static constexpr int kCornerY = 10;
    static constexpr std::int64_t kFrameTicks = 10'000;

    explicit FakeDisplay(ManualClock& clock) : clock_(clock) {}

    bool present() override
    {
        presentedParts.push_back(renderedPart);
        renderedPart = -1;
        probes.push_back(frame_ ? frame_->pixel(kProbeX, kProbeY) : 0);
        cornerProbes.push_back(frame_ ? frame_->pixel(kCornerX, kCornerY) : 0);
        ++frames;
        presentTimes.push_back(clock_.ticks());
        clock_.advanceTicks(presentTicks);
        if (keyAtFrame.count(frames))
            keyPending_ = true;
        if (onPresent)
            onPresent(frames);
        if (frames > maxFrames)
            throw std::runtime_error("the show did not end");
        return true;
    }
    bool presentBitmap(const Bitmap&) override { return true; }
    bool open(int width, int height, bool flag, int depth) override
    {
        openedWith = {width, height, flag ? 1 : 0, depth};
        if (!openSucceeds)
            return false;
        frame_ = std::make_unique<Bitmap>(width, height);
        if (keyAtFrame.count(0))
            keyPending_ = true;
        return true;
    }
    bool reopen() override { return true; }
    bool keyHit() override
    {
        ++keyHitCalls;
        return std::exchange(keyPending_, false);
    }
    KeyRecord lastKey() const override { return {}; }
    void close() override {}
    Bitmap* frame() override { return frame_.get(); }
    bool hasKeyboard() const override { return keyboard; }
    bool waitForInput(int timeoutMs) override
    {
        ++waits;
        clock_.advanceTicks(static_cast<std::int64_t>(timeoutMs) * clock_.ticksPerSecond() / 1000);
        if (keyAtWait.count(waits))
            keyPending_ = true;
        if (waits > maxFrames)
            throw std::runtime_error("the show did not end");
        return false;
    }
    Pacing pacing() const override { return pacingInfo; }

    // Script.
    bool openSucceeds = true;
    bool keyboard = true;
    std::set<int> keyAtFrame;
    int maxFrames = 5000;
    std::function<void(int)> onPresent;
    std::int64_t presentTicks = kFrameTicks;
    std::set<int> keyAtWait;
    Pacing pacingInfo;

    // Record.
    int frames = 0;
    int renderedPart = -1; // set by the parts' render
    std::vector<int> presentedParts; // per frame; -1 for the end picture
    std::vector<std::uint32_t> probes; // frame pixel at the probe, per frame
    std::vector<std::uint32_t> cornerProbes;
    std::vector<int> openedWith;
    int keyHitCalls = 0;
    int waits = 0;
    std::vector<std::int64_t> presentTimes; // the clock at each present

private:
    ManualClock& clock_;
    std::unique_ptr<Bitmap> frame_;
    bool keyPending_ = false;
};

// Music whose position is a function of the display's frame count. A player
// that did not load reads (0, 0), like one of the wrong version.
class FakeMusic final : public MusicPlayer {
public:
    explicit FakeMusic(const FakeDisplay& display) : display_(display) {}

    bool load(const char* path) override
    {
        std::printf("bass used for module replaying\n");
        std::printf("trying to load stream %s \n", path);
        std::printf("trying to load mod %s \n", path);
        loadedPath = path;
        return loads;
    }
    bool start() override { return loads; }
    bool resumeStream(std::int32_t) override { return false; }
    bool playAt(std::int32_t order, std::int32_t row) override
    {
        playedAt = {order, row};
        return loads;
    }
    bool stopStream() override { return loads; }
    bool shutdown() override
    {
        shutdownAtFrame.push_back(display_.frames);
        return true;
    }
    std::int32_t order() override { return loads && position ? position(display_.frames).first : 0; }
    std::int32_t row() override { return loads && position ? position(display_.frames).second : 0; }
    bool pauseStream() override { return false; }
    std::int32_t streamPosition() override { return 0; }
    std::uint64_t passes() override { return loads && passesAt ? passesAt(display_.frames) : 0; }

    bool loads = true;
    std::function<std::pair<int, int>(int frame)> position;
    std::function<std::uint64_t(int frame)> passesAt;

    std::string loadedPath;
    std::pair<int, int> playedAt{-1, -1};
    std::vector<int> shutdownAtFrame;

private:
    const FakeDisplay& display_;
};

// Records the cues a layer gets, by frame.
class CueLayer final : public EffectLayer {
public:
    explicit CueLayer(const FakeDisplay& display) : display_(display) {}
    void render(Bitmap&, float, int) override {}
    void setParam(const char* key, const void* value) override
    {
        cues.push_back({key, display_.frames});
        valuesWereNull = valuesWereNull && value == nullptr;
    }

    std::vector<std::pair<std::string, int>> cues;
    bool valuesWereNull = true;

private:
    const FakeDisplay& display_;
};

// A part that blacks out the frame, tells the display it drew, and records
// its actions and its local times. Its table holds the given actions.
class ScriptedPart final : public Part {
public:
    ScriptedPart(int index, FakeDisplay& display) : index_(index), display_(display)
    {
        layers_.push_back(std::make_unique<CueLayer>(display));
        layers_.push_back(std::make_unique<CueLayer>(display));
    }
    void init(Bitmap&, NewRenderDriver&) override
    {
        auto table = std::make_unique<ActionTable>();
        for (auto [order, row, action] : tableEntries)
            table->set(order, row, static_cast<std::int8_t>(action));
        setActionTable(std::move(table));
    }
    void render(Bitmap& frame, NewRenderDriver&, float time) override
    {
        frame.fill(0);
        display_.renderedPart = index_;
        localTimes.push_back(time - startTime());
    }
    void action(std::int32_t number) override { actions.push_back({number, display_.frames}); }
    EffectLayer* layer(int index) override
    {
        return index >= 0 && index < static_cast<int>(layers_.size()) ? layers_[index].get() : nullptr;
    }
    CueLayer& cueLayer(int index) { return static_cast<CueLayer&>(*layers_[index]); }

    std::vector<std::tuple<int, int, int>> tableEntries;
    std::vector<std::pair<int, int>> actions; // (number, frame)
    std::vector<float> localTimes;

private:
    int index_;
    FakeDisplay& display_;
    std::vector<std::unique_ptr<EffectLayer>> layers_;
};

} // namespace zov::test
