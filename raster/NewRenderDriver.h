#pragma once

namespace zov {

class Bitmap;

// The software triangle renderer of the 3D scenes (to be filled in): a depth
// buffer the size of its target and a table of fill operations.
class NewRenderDriver {
public:
    explicit NewRenderDriver(const Bitmap& target);
    ~NewRenderDriver();

    NewRenderDriver(const NewRenderDriver&) = delete;
    NewRenderDriver& operator=(const NewRenderDriver&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
};

} // namespace zov
