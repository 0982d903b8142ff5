#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zov {

class Bitmap;

// Encodes pictures of one size as 8-bit RGB PNG files, one after another,
// with buffers made once: a capture of thousands of frames allocates nothing
// per frame. Each row is stored with the "up" filter (the difference from the
// row above), which turns the show's flat and slowly changing areas into
// runs, packed by fastDeflate: a capture has to keep well ahead of the show.
class PngFrameEncoder {
public:
    PngFrameEncoder(int width, int height);
    ~PngFrameEncoder();
    PngFrameEncoder(const PngFrameEncoder&) = delete;
    PngFrameEncoder& operator=(const PngFrameEncoder&) = delete;

    // The whole file for bitmap, valid until the next call; empty when the
    // bitmap is not of the encoder's size.
    std::span<const std::uint8_t> encode(const Bitmap& bitmap);

private:
    void beginChunk(const char* type);
    void endChunk(std::size_t dataStart);
    void put32(std::uint32_t value);

    int width_;
    int height_;
    std::vector<std::uint8_t> out_;
    std::size_t used_ = 0;
    std::vector<std::uint8_t> filtered_; // per row: filter byte, then the filtered RGB bytes
    std::vector<std::uint8_t> previous_; // RGB bytes of the row above, 0 above the first
    std::vector<std::uint8_t> current_;
};

} // namespace zov
