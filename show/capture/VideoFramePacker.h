#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zov {

// Packs show frames (32-bit pixels: blue, green, red, unused) into what the
// video encoder reads, each pixel enlarged to scale x scale (nearest
// neighbour):
// - Yuv420: planar Y, then Cb, then Cr at half width and height, in BT.709
//   limited range (Y 16-235, Cb and Cr 16-240); each Cb and Cr sample is that
//   of the mean colour of the 2x2 pixels it covers. At scale 2 those are
//   one show pixel, and at 3 every show pixel wholly covers one: its colour
//   comes through the encoder's 4:2:0 as it was.
// - Bgr0: the bytes as they are, for an RGB encoder.
// Buffers are made at construction; pack() allocates nothing.
class VideoFramePacker {
public:
    enum class Pixels { Yuv420, Bgr0 };

    VideoFramePacker(int width, int height, int scale, Pixels pixels);

    int outputWidth() const { return width_ * scale_; }
    int outputHeight() const { return height_ * scale_; }
    std::size_t packedBytes() const;
    // frame: width x height pixels, row after row; out: packedBytes().
    void pack(const std::uint32_t* frame, std::uint8_t* out);

private:
    void packYuv(const std::uint32_t* frame, std::uint8_t* out);
    void packBgr0(const std::uint32_t* frame, std::uint8_t* out);

    int width_;
    int height_;
    int scale_;
    Pixels pixels_;
    std::vector<int> sourceColumn_;  // of each output column
    std::vector<std::uint8_t> luma_; // one show row
};

} // namespace zov
