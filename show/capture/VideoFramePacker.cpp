#include "show/capture/VideoFramePacker.h"

#include <cstring>

namespace zov {

namespace {

// BT.709 (Kr 0.2126, Kb 0.0722) in limited range, in 16.16: Y is
// 16 + 219/255 (Kr R + Kg G + Kb B); Cb and Cr are 128 + 224/255 times the
// blue and red differences, (B - Y') / 1.8556 and (R - Y') / 1.5748.
constexpr std::int32_t kYR = 11966, kYG = 40254, kYB = 4064;
constexpr std::int32_t kCbR = -6596, kCbG = -22189, kCbB = 28785;
constexpr std::int32_t kCrR = 28785, kCrG = -26145, kCrB = -2640;

inline std::int32_t red(std::uint32_t p)
{
    return static_cast<std::int32_t>(p >> 16 & 0xFF);
}
inline std::int32_t green(std::uint32_t p)
{
    return static_cast<std::int32_t>(p >> 8 & 0xFF);
}
inline std::int32_t blue(std::uint32_t p)
{
    return static_cast<std::int32_t>(p & 0xFF);
}

} // namespace

VideoFramePacker::VideoFramePacker(int width, int height, int scale, Pixels pixels)
    : width_(width), height_(height), scale_(scale), pixels_(pixels),
      sourceColumn_(static_cast<std::size_t>(width * scale)), luma_(static_cast<std::size_t>(width))
{
    for (std::size_t x = 0; x < sourceColumn_.size(); ++x)
        sourceColumn_[x] = static_cast<int>(x) / scale;
}

std::size_t VideoFramePacker::packedBytes() const
{
    const auto pixels = static_cast<std::size_t>(outputWidth()) * static_cast<std::size_t>(outputHeight());
    return pixels_ == Pixels::Bgr0 ? 4 * pixels : pixels + pixels / 2;
}

void VideoFramePacker::pack(const std::uint32_t* frame, std::uint8_t* out)
{
    if (pixels_ == Pixels::Bgr0)
        packBgr0(frame, out);
    else
        packYuv(frame, out);
}

void VideoFramePacker::packBgr0(const std::uint32_t* frame, std::uint8_t* out)
{
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(outputWidth());
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = frame + static_cast<std::ptrdiff_t>(y) * width_;
        std::uint8_t* first = out + static_cast<std::size_t>(y) * static_cast<std::size_t>(scale_) * rowBytes;
        auto* row = reinterpret_cast<std::uint32_t*>(first);
        for (int x = 0; x < outputWidth(); ++x)
            row[x] = src[sourceColumn_[static_cast<std::size_t>(x)]];
        for (int copy = 1; copy < scale_; ++copy)
            std::memcpy(first + static_cast<std::size_t>(copy) * rowBytes, first, rowBytes);
    }
}

void VideoFramePacker::packYuv(const std::uint32_t* frame, std::uint8_t* out)
{
    const auto outWidth = static_cast<std::size_t>(outputWidth());
    const int outHeight = outputHeight();
    std::uint8_t* lumaPlane = out;
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = frame + static_cast<std::ptrdiff_t>(y) * width_;
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t p = src[x];
            luma_[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(
                (kYR * red(p) + kYG * green(p) + kYB * blue(p) + (16 << 16) + (1 << 15)) >> 16);
        }
        std::uint8_t* first = lumaPlane + static_cast<std::size_t>(y) * static_cast<std::size_t>(scale_) * outWidth;
        for (std::size_t x = 0; x < outWidth; ++x)
            first[x] = luma_[static_cast<std::size_t>(sourceColumn_[x])];
        for (int copy = 1; copy < scale_; ++copy)
            std::memcpy(first + static_cast<std::size_t>(copy) * outWidth, first, outWidth);
    }

    // Each chroma sample from the sums of the four output pixels it covers
    // (16.16 times 4: shifted by 18).
    const std::size_t chromaWidth = outWidth / 2;
    std::uint8_t* cbPlane = out + outWidth * static_cast<std::size_t>(outHeight);
    std::uint8_t* crPlane = cbPlane + chromaWidth * static_cast<std::size_t>(outHeight / 2);
    constexpr std::int32_t kOffset = (128 << 18) + (1 << 17);
    for (int cy = 0; cy < outHeight / 2; ++cy) {
        const std::uint32_t* top = frame + static_cast<std::ptrdiff_t>(2 * cy / scale_) * width_;
        const std::uint32_t* bottom = frame + static_cast<std::ptrdiff_t>((2 * cy + 1) / scale_) * width_;
        std::uint8_t* cb = cbPlane + static_cast<std::size_t>(cy) * chromaWidth;
        std::uint8_t* cr = crPlane + static_cast<std::size_t>(cy) * chromaWidth;
        for (std::size_t cx = 0; cx < chromaWidth; ++cx) {
            const int left = sourceColumn_[2 * cx];
            const int right = sourceColumn_[2 * cx + 1];
            const std::uint32_t a = top[left], b = top[right], c = bottom[left], d = bottom[right];
            const std::int32_t r = red(a) + red(b) + red(c) + red(d);
            const std::int32_t g = green(a) + green(b) + green(c) + green(d);
            const std::int32_t bl = blue(a) + blue(b) + blue(c) + blue(d);
            cb[cx] = static_cast<std::uint8_t>((kCbR * r + kCbG * g + kCbB * bl + kOffset) >> 18);
            cr[cx] = static_cast<std::uint8_t>((kCrR * r + kCrG * g + kCrB * bl + kOffset) >> 18);
        }
    }
}

} // namespace zov
