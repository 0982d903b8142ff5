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

// Where the show stands after a frame of the session.
struct ShowFrame {
    // A new frame is in the display's frame, to be presented; false once the
    // show is over.
    bool drawn = false;
    int part = -1; // the part drawn; -1: the end picture
    std::int32_t order = 0; // the music position the part was drawn at
    std::int32_t row = 0;
    float time = 0.0f; // show clock seconds the part was drawn at
    // The frame holds the same picture as the frame before: a loop may leave
    // the screen as it is and wait for input instead of presenting it.
    bool unchanged = false;
};

// Sets the show up and runs it as one loop per part, each following the
// music's order and row as the show table says, then shows the end picture.
// The caller owns the loop: begin, then frame after frame (presenting each
// drawn one) until the show is over. Keys are read from the display where
// the show reads them: one press skips one part, or ends the end picture.
class DemoDriver {
public:
    static constexpr int kFontCellSize = 8;
    static constexpr int kFontFirstGlyph = 31;

    // Loads the font from "data/mossel2.pcx".
    DemoDriver(DisplayDriver& display, MusicPlayer& music);
    ~DemoDriver();

    DemoDriver(const DemoDriver&) = delete;
    DemoDriver& operator=(const DemoDriver&) = delete;

    // The whole show on the display: begin, then every frame presented.
    // Returns the exit status (see status()).
    int run(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
            std::int32_t startRow);

    // Loads the music and pictures, opens the display, initialises the parts
    // and starts the music and the show clock; the show opens on part
    // firstPart (the loops before it are passed over). 0, or the exit status
    // of a show that cannot run.
    int begin(PartList& partList, int firstPart, const char* musicFile, std::int32_t startOrder,
              std::int32_t startRow);
    // The next frame of the show, drawn into the display's frame and not yet
    // presented; or, once the show is over, none.
    ShowFrame frame();
    // 0 once the end picture is dismissed; non-zero when the show could not
    // run or, without a keyboard, the music could no longer end a part.
    int status() const { return status_; }
    bool over() const { return phase_ == Phase::Over; }

    // Where a show that opens later in its course stands: the running part
    // (or the end picture) and what the driver would have met by then.
    struct Placement {
        int part = 0; // -1: the end picture
        float partStart = 0.0f; // show clock seconds
        std::int32_t order = 0; // the music position last seen
        std::int32_t row = 0;
        std::int32_t lastCueRow = -1;
    };
    // Takes the driver there: the next frame is drawn as if the show had
    // played through to it, once the part itself stands there too (started
    // at partStart, its feedback caught up).
    void place(const Placement& at);
    // The running part; -1 on the end picture or once over.
    int runningPart() const { return phase_ == Phase::Entering || phase_ == Phase::Running ? part_ : -1; }
    float partStart() const { return partStart_; }

    const BitmapFont& font() const { return *font_; }
    std::int32_t lastOrder() const { return lastOrder_; }
    std::int32_t lastRow() const { return lastRow_; }
    float showStart() const { return showStart_; }

private:
    enum class Phase { Entering, Running, EndEntering, EndShown, Over };

    int setUp(PartList& partList, const char* musicFile, std::int32_t startOrder, std::int32_t startRow);
    // One pass of the running part's loop; false when it has ended (by the
    // music or a key) without drawing.
    bool runPart(ShowFrame& drawn);
    // Hands the part the action for a changed music position.
    void dispatchPosition(Part* part, std::int32_t order, std::int32_t row);
    ShowFrame endPictureFrame();
    // Show time at which the part being entered starts.
    float nextPartStart();
    void end(int status);
    // A consumed key press; never one without a keyboard.
    bool keyPressed();
    float now() const;

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

    // The session.
    PartList* partList_ = nullptr;
    Bitmap* frame_ = nullptr;
    Phase phase_ = Phase::Over;
    int firstPart_ = 0;
    int part_ = 0;           // the running part's index
    float partStart_ = 0.0f; // show clock seconds at which it started
    bool leftByMusic_ = false; // the last part ended because the music reached its order
    bool afterBody_ = false; // the key test that ends a pass is due
    std::uint64_t passesAtStart_ = 0;
    float endShownAt_ = 0.0f;
    int status_ = 0;
};

} // namespace zov
