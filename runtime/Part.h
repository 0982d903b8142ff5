#pragma once

#include <cstdint>
#include <memory>

namespace zov {

class ActionTable;
class Bitmap;
class EffectLayer;
class NewRenderDriver;
class PartList;

// One part of the show: prepared once against the frame, then rendered into
// it at the show clock's time. The operations keep this order.
class Part {
public:
    Part();

    // Prepares the part; this is where it creates its action table.
    virtual void init(Bitmap& frame, NewRenderDriver& renderDriver) = 0;
    // time: show clock seconds; the part subtracts its own start time.
    virtual void render(Bitmap& frame, NewRenderDriver& renderDriver, float time) = 0;
    virtual void randomizeOffset() {}
    // Reaction to a number from the part's action table.
    virtual void action(std::int32_t) {}
    virtual ~Part();

    // The part's effect layer at index, or none; the driver sends it music cues.
    virtual EffectLayer* layer(int) { return nullptr; }

    float startTime() const { return startTime_; }
    void setStartTime(float seconds) { startTime_ = seconds; }
    // None until init.
    const ActionTable* actionTable() const { return actionTable_.get(); }
    PartList* owner() const { return owner_; }
    void setOwner(PartList* owner) { owner_ = owner; }

    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;

protected:
    void setActionTable(std::unique_ptr<ActionTable> table);

private:
    float startTime_ = 0.0f; // show clock seconds when the part's loop began
    std::unique_ptr<ActionTable> actionTable_;
    PartList* owner_ = nullptr;
};

} // namespace zov
