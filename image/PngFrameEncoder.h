#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <zlib.h>

namespace zov {

class Bitmap;

// Encodes pictures of one size as 8-bit RGB PNG files, one after another,
// with buffers made once: a capture of thousands of frames allocates nothing
// per frame. Each row is stored with the "up" filter (the difference from the
// row above), which turns the show's flat and slowly changing areas into
// runs, and zlib looks for runs only: the fastest packing that still pays.
class PngFrameEncoder {
public:
    // zlibLevel 0 (stored) to 9; 1 is the fastest that still packs.
    PngFrameEncoder(int width, int height, int zlibLevel = 1);
    ~PngFrameEncoder();
    PngFrameEncoder(const PngFrameEncoder&) = delete;
    PngFrameEncoder& operator=(const PngFrameEncoder&) = delete;

    // The whole file for bitmap, valid until the next call; empty when the
    // bitmap is not of the encoder's size or zlib fails.
    std::span<const std::uint8_t> encode(const Bitmap& bitmap);

private:
    void beginChunk(const char* type);
    void endChunk(std::size_t dataStart);
    void put32(std::uint32_t value);

    int width_;
    int height_;
    bool ready_ = false;
    z_stream zlib_{};
    std::vector<std::uint8_t> out_;
    std::size_t used_ = 0;
    std::vector<std::uint8_t> row_;      // filter byte, then the filtered RGB bytes
    std::vector<std::uint8_t> previous_; // RGB bytes of the row above, 0 above the first
    std::vector<std::uint8_t> current_;
};

} // namespace zov
