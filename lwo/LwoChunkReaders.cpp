#include "lwo/LwoChunkReaders.h"

#include <cstdio>
#include <cstdlib>

namespace zov {

namespace {

// A name padded so that name and terminator take an even number of bytes.
std::string paddedName(ByteCursor& c)
{
    const std::size_t before = c.remaining();
    std::string name = c.string(kLwoMaxName);
    if ((before - c.remaining()) % 2 != 0)
        c.skip(1);
    return name;
}

// Sub-chunk identifiers are matched regardless of letter case.
bool isSubChunk(const char (&id)[5], const char* upper)
{
    for (int i = 0; i < 4; ++i) {
        const char c = id[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upper[i])
            return false;
    }
    return true;
}

Vec3 readVec3(ByteCursor& c)
{
    const float x = c.f32();
    const float y = c.f32();
    return {x, y, c.f32()};
}

bool hasTexture(const LwoTextureDef* current, const char* line)
{
    if (current == nullptr)
        std::fputs(line, stdout);
    return current != nullptr;
}

constexpr const char* kNoTexture = "current texture is null, but texture def chunk found \n";

// One SURF sub-chunk; data holds exactly its bytes. Fields are set only
// when the data covers them.
void applySubChunk(const char (&id)[5], ByteCursor data, LwoSurface& surface, LwoTextureDef*& current)
{
    if (isSubChunk(id, "COLR")) {
        if (data.fits(3)) {
            const std::uint32_t r = data.u8(), g = data.u8(), b = data.u8();
            surface.colour = r << 16 | g << 8 | b;
        }
    } else if (isSubChunk(id, "CTEX") || isSubChunk(id, "TTEX")) {
        current = id[0] == 'C' || id[0] == 'c' ? &surface.colourTexture : &surface.transparencyTexture;
        current->typeName = data.string(kLwoMaxName);
    } else if (isSubChunk(id, "TFLG")) {
        if (hasTexture(current, kNoTexture) && data.fits(2))
            current->flags = data.u16();
    } else if (isSubChunk(id, "TSIZ")) {
        if (hasTexture(current, kNoTexture) && data.fits(12))
            current->size = readVec3(data);
    } else if (isSubChunk(id, "TCTR")) {
        if (hasTexture(current, "current texture is null, bu t texture def chunk found \n") && data.fits(12))
            current->centre = readVec3(data);
    } else if (isSubChunk(id, "TIMG")) {
        if (hasTexture(current, kNoTexture)) {
            current->imageName = data.string(kLwoMaxName);
            current->hasImage = true;
        }
    } else if (isSubChunk(id, "FLAG")) {
        if (data.fits(2))
            surface.flags = data.u16();
    } else if (isSubChunk(id, "TRAN")) {
        if (data.fits(2))
            surface.transparency = data.u16();
    }
}

} // namespace

std::vector<Vec3> readPoints(ByteCursor chunk)
{
    std::vector<Vec3> points(chunk.remaining() / 12);
    for (Vec3& p : points)
        p = readVec3(chunk);
    return points;
}

std::vector<std::string> readSurfaceNames(ByteCursor chunk)
{
    // A polygon's 16-bit signed surface number reaches no further.
    constexpr std::size_t kNamesReachable = 0x8000;
    std::vector<std::string> names;
    while (chunk.remaining() > 0 && names.size() < kNamesReachable)
        names.push_back(paddedName(chunk));
    return names;
}

std::vector<LwoPolygon> readPolygons(ByteCursor chunk)
{
    // At most S / 6 polygons, as many as one-corner polygons could fill:
    // empty ones (4 bytes) may not make more.
    const std::size_t limit = chunk.remaining() / 6;
    std::vector<LwoPolygon> polygons;
    for (std::size_t read = 0; read < limit && chunk.fits(2); ++read) {
        const std::size_t corners = chunk.u16();
        if (!chunk.fits(2 * corners + 2))
            break;
        ByteCursor indices = chunk.take(2 * corners);
        const int number = static_cast<std::int16_t>(chunk.u16());
        if (number < 0)
            chunk.skip(2); // the count of detail polygons; they follow as polygons of their own
        if (corners < 3)
            continue;
        LwoPolygon& p = polygons.emplace_back();
        p.indices.resize(corners);
        for (std::uint16_t& index : p.indices)
            index = indices.u16();
        p.surfaceNumber = static_cast<std::uint16_t>(std::abs(number));
    }
    return polygons;
}

LwoSurface readSurface(ByteCursor chunk)
{
    LwoSurface surface;
    surface.name = paddedName(chunk);
    LwoTextureDef* current = nullptr;
    while (chunk.fits(6)) {
        char id[5];
        chunk.id(id);
        const std::uint16_t size = chunk.u16();
        if (!chunk.fits(size))
            break;
        applySubChunk(id, chunk.take(size), surface, current);
    }
    return surface;
}

} // namespace zov
