#pragma once

#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "tests/raster/RasterTestUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zov::rastertest {

using Fill = void (NewRenderDriver::*)(RasterTriangle&, Bitmap&, int);

// A small target with its own driver, filled with a known background.
class FillFixture : public ::testing::Test {
protected:
    static constexpr int W = 64;
    static constexpr int H = 48;
    static constexpr std::uint32_t kBackground = 0x10203040u;

    Bitmap target{W, H};
    NewRenderDriver driver{target};
    std::vector<std::uint32_t> address = addressTexture();

    void SetUp() override { target.fill(kBackground); }

    void draw(Fill fill, OwnedRasterTriangle tri, int stamp = 0) { (driver.*fill)(tri.triangle, target, stamp); }

    std::uint32_t centre() const { return target.pixel(W / 2, H / 2); }
};

} // namespace zov::rastertest
