#pragma once

#include "effects/EffectLayer.h"

#include <cstdint>
#include <memory>

namespace zov {

// A 1024 x 64 strip scrolling left through the middle of the frame at 0.3
// frame widths a second, wrapping around, added onto the frame.
// Keys: "FILENAME", "WIDTH", "HEIGHT" (kept, but the strip is always
// data/scrollie1.jpg at 1024 x 64).
class ScrollerLayer final : public EffectLayer {
public:
    static constexpr const char* kStripFile = "data/scrollie1.jpg";
    static constexpr int kStripWidth = 1024;
    static constexpr int kStripHeight = 64;

    ScrollerLayer();
    ~ScrollerLayer() override;

    void init() override;
    void render(Bitmap& frame, float time, int reserved) override;
    void setParam(const char* key, const void* value) override;

    // The strip column at the frame's left edge at time t (may be negative;
    // the strip wraps).
    static std::int64_t sourceColumn(float time, int frameWidth);

    const char* fileName() const { return fileName_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // None before init.
    const Bitmap* strip() const { return strip_.get(); }

private:
    std::unique_ptr<Bitmap> strip_;
    const char* fileName_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace zov
