#include "engine3d/Surface.h"

#include "image/ReleaseLines.h"

namespace zov {

PolygonTexture::~PolygonTexture()
{
    for (int s = 0; s < 3; ++s) {
        std::unique_ptr<TextureSlot>& slot = slots[static_cast<std::size_t>(s)];
        if (!slot)
            continue;
        if (slot->bitmap) {
            announceRelease("now i should delete an image \n");
            slot->bitmap.reset();
        } else {
            announceRelease("ey - image already null ? \n");
        }
        announceRelease("done dealocating polygon texture \n");
        slot.reset();
    }
}

const std::uint32_t* PolygonTexture::pixels(int s) const
{
    const TextureSlot* slot = slots[static_cast<std::size_t>(s)].get();
    // The fills address 256 x 256 texels whatever the picture.
    if (slot == nullptr || !slot->bitmap || slot->bitmap->width() != 256 || slot->bitmap->height() != 256)
        return nullptr;
    return slot->bitmap->pixels();
}

namespace {

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::shared_ptr<PolygonTexture> SurfaceTable::find(const std::string& name) const
{
    for (const auto& s : surfaces_)
        if (sameName(s->name, name))
            return s;
    return nullptr;
}

bool SurfaceTable::add(std::shared_ptr<PolygonTexture> surface)
{
    if (count() >= kCapacity)
        return false;
    surfaces_.push_back(std::move(surface));
    return true;
}

} // namespace zov
