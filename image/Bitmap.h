#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zov {

// The program's one picture type: width x height 32-bit pixels 0x00RRGGBB
// (byte 0 blue, byte 1 green, byte 2 red, byte 3 carried along), rows packed
// top to bottom. The frame, every picture, texture and work area is one.
//
// All 2D operations work per byte, all four bytes included, so they are
// exact integer operations. None of them allocates.
class Bitmap {
public:
    // No storage; the owner sets the size (a descriptor of a target size).
    Bitmap();
    // Storage of width x height pixels, all 0 so that every frame is
    // reproducible.
    Bitmap(int width, int height);
    // Prints "deallocated internal Bitmap buffer \n", with or without storage.
    ~Bitmap();

    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // Only for a bitmap without storage: sets the size it describes.
    void setSize(int width, int height);

    bool hasStorage() const { return pixels_ != nullptr; }
    std::uint32_t* pixels() { return pixels_.get(); }
    const std::uint32_t* pixels() const { return pixels_.get(); }
    std::uint32_t* row(int y) { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_; }
    const std::uint32_t* row(int y) const { return pixels_.get() + static_cast<std::ptrdiff_t>(y) * width_; }
    std::size_t pixelCount() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }

    // Writes value at (x, y) when inside; otherwise does nothing.
    void setPixel(int x, int y, std::uint32_t value);
    // The pixel at (x, y), or 0 outside.
    std::uint32_t pixel(int x, int y) const;
    void fill(std::uint32_t value);

    // Bytes 0..2 become 255 minus themselves; byte 3 stays.
    void invert();
    // this = (a * f + b * (255 - f)) >> 8 per byte, f = factor clamped to 0..255.
    // Meant for three bitmaps of one size; otherwise only the first pixels
    // all three have are blended.
    void blend(const Bitmap& a, const Bitmap& b, int factor);
    void copyTo(Bitmap& dest) const;
    void copyAt(Bitmap& dest, int x, int y) const;
    // Saturating add of this onto dest.
    void addTo(Bitmap& dest) const;
    void addAt(Bitmap& dest, int x, int y) const;
    // dest = sat(dest + (src * level) >> 8), level = low byte of the argument.
    void fadeAt(Bitmap& dest, int x, int y, int level) const;
    // dest = (src * a + dest * (255 - a)) >> 8, a = blue byte of alphaMap.
    // alphaMap is meant to be this bitmap's size; only the part it covers is drawn.
    void maskAt(Bitmap& dest, int x, int y, const Bitmap& alphaMap) const;
    void blitScroll(Bitmap& dest, int dx, int dy, int sx, int sy, bool wrap, bool additive) const;
    // Resamples this bitmap to dest's size.
    void scaleTo(Bitmap& dest) const;

    // Process-wide counters of allocated pixel bytes and bitmaps.
    static std::uint64_t allocatedBytes();
    static std::uint64_t allocatedCount();

private:
    struct AlignedFree {
        void operator()(std::uint32_t* p) const;
    };
    std::unique_ptr<std::uint32_t[], AlignedFree> pixels_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace zov
