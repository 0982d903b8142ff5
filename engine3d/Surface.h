#pragma once

#include "image/Bitmap.h"
#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zov {

// One texture of a surface: a 256 x 256 picture and how it is laid onto the
// object.
struct TextureSlot {
    std::unique_ptr<Bitmap> bitmap;
    int width = 256;
    int height = 256;
    int reserved0 = 0;
    int reserved1 = 0;
    int axis = 0;    // 0 X, 1 Y, 2 Z
    int mapType = 1; // 1 planar, 2 cylindrical, 0 spherical
    Vec3 centre{0, 0, 0};
    Vec3 size{0, 0, 0};
};

// The surface of a polygon, shared by every polygon of that surface.
struct PolygonTexture {
    // Mode flags; the low byte is the polygon's type code.
    static constexpr int kImageCoords = 0x01;    // slot 0 has corner coordinates
    static constexpr int kEnvironmentMap = 0x02; // slot 1 is an environment map
    static constexpr int kBumpCoords = 0x04;     // slot 2 has corner coordinates
    static constexpr int kFourthCoords = 0x08;   // slot 3 has corner coordinates
    static constexpr int kImageTexture = 0x20;   // drawn with its image

    static constexpr std::size_t kMaxName = 255;

    // 0 image, 1 environment, 2 bump, 3 fourth texture.
    std::array<std::unique_ptr<TextureSlot>, 4> slots;
    int blend = 0; // 0 opaque, 8 additive, other values transparent
    std::string name;
    std::uint32_t colour = 0; // 0x00RRGGBB
    double transparency = 0.0;
    int reserved = 0;
    int flags = 0;

    PolygonTexture() = default;
    PolygonTexture(const PolygonTexture&) = delete;
    PolygonTexture& operator=(const PolygonTexture&) = delete;
    // For slots 0..2 that are present: "now i should delete an image \n" (or
    // "ey - image already null ? \n" without a picture), then
    // "done dealocating polygon texture \n".
    ~PolygonTexture();

    // The pixels of slot s, or null when it has no 256 x 256 picture.
    const std::uint32_t* pixels(int s) const;
};

// The surfaces of an object or a scene, at most kCapacity, found by name.
class SurfaceTable {
public:
    static constexpr int kCapacity = 100;

    int count() const { return static_cast<int>(surfaces_.size()); }
    const std::shared_ptr<PolygonTexture>& at(int i) const { return surfaces_[static_cast<std::size_t>(i)]; }
    // The first surface whose name equals `name` ignoring ASCII case, or null.
    std::shared_ptr<PolygonTexture> find(const std::string& name) const;
    // False, adding nothing, when the table is full.
    bool add(std::shared_ptr<PolygonTexture> surface);

private:
    std::vector<std::shared_ptr<PolygonTexture>> surfaces_;
};

} // namespace zov
