#pragma once

#include <cstdint>
#include <memory>

namespace zov {

class Bitmap;
class BitmapFont;
class DisplayDriver;
class MusicPlayer;
class Part;
class PartList;

// Sets the show up and runs it as four loops, one per part, each following
// the music's order and row, then shows the end picture.
class DemoDriver {
public:
    static constexpr int kFontCellSize = 8;
    static constexpr int kFontFirstGlyph = 31;
    static constexpr int kLogoX = 30;
    static constexpr int kLogoY = 40;
    // How long the end picture stays when there is no key to dismiss it.
    static constexpr float kEndPictureSeconds = 3.0f;
    static constexpr int kLoopCount = 4;

    // Whether the music at order ends loop `loop` (0 to 3): for programs
    // that look ahead at how long a run will be.
    static bool loopEndsAt(int loop, std::int32_t order);

    // Loads the font from "data/mossel2.pcx".
    DemoDriver(DisplayDriver& display, MusicPlayer& music);
    ~DemoDriver();

    DemoDriver(const DemoDriver&) = delete;
    DemoDriver& operator=(const DemoDriver&) = delete;

    // Runs the whole show; returns the exit status: 0 once the end picture
    // is dismissed, non-zero when the show cannot run or, without a
    // keyboard, when the music can no longer end a loop.
    int run(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
            std::int32_t startRow);

    const BitmapFont& font() const { return *font_; }
    std::int32_t lastOrder() const { return lastOrder_; }
    std::int32_t lastRow() const { return lastRow_; }
    float showStart() const { return showStart_; }

private:
    int setUp(PartList& partList, const char* musicFile, std::int32_t startOrder, std::int32_t startRow);
    // False when, without a keyboard, the music played a whole pass without
    // reaching the order the loop waits for.
    bool runLoop(int loop, PartList& partList, Bitmap& frame);
    // Hands the part the action for a changed music position.
    void dispatchPosition(Part* part, std::int32_t order, std::int32_t row);
    void showEndPicture(PartList& partList, Bitmap& frame);
    // A consumed key press; never one without a keyboard.
    bool keyPressed();

    DisplayDriver& display_;
    MusicPlayer& music_;
    const char* musicFile_ = "";
    std::unique_ptr<BitmapFont> font_;
    std::int32_t lastOrder_ = 0; // music position at the last change
    std::int32_t lastRow_ = 0;
    float showStart_ = 0.0f; // show clock seconds when the first part started
    std::int32_t lastBonkRow_ = -1;
    std::unique_ptr<Bitmap> logo_;
    std::unique_ptr<Bitmap> endPicture_;
};

} // namespace zov
