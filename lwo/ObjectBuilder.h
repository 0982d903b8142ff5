#pragma once

#include "engine3d/MeshObject.h"
#include "engine3d/Surface.h"
#include "lwo/LwoReader.h"

#include <cstdint>
#include <memory>

namespace zov {

class ImageLoaderRegistry;

// The random corner coordinates of surfaces that are not mapped: a generator
// of the object being built, seeded the same every time, so that an object
// always looks the same.
class MappingRandom {
public:
    // 0..32767, like the C library's generator.
    int next()
    {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_ = 1;
};

// The engine's mesh of a read object: vertex i is point i; each polygon
// becomes triangles (PolygonTriangulator; a triangle stays one) on the
// surface whose name its SURF chunk has, the first of that name in `surfaces` (a new table when
// none is given); surfaces already there are not added again ("this scene
// already has a surface called %s\n"). A polygon whose surface is missing is
// drawn in a plain grey default surface. Prints "deleted object \n".
std::unique_ptr<meshSurfaceObject> buildObject(const LwoObjectData& data,
                                               std::shared_ptr<SurfaceTable> surfaces = nullptr);

// The engine's surface of a read one: colour, transparency and name; an
// image texture in slot 0 (flags 0x21) and a transparency image in slot 3
// (flag 0x08) when their pictures load. Null, printing
// "trying to translate NULL surface !! \n", when given none.
std::shared_ptr<PolygonTexture> translateSurface(const LwoSurface* surface, ImageLoaderRegistry& images);

// A 256 x 256 texture from the named picture with its mapping, or null when
// the picture cannot be loaded (no loader for its name, absent, unreadable or
// not a picture of its kind): then one line names it and nothing ends.
std::unique_ptr<TextureSlot> makeTextureSlot(const LwoTextureDef& texture, ImageLoaderRegistry& images);

// Texture coordinates (whole texels) of a corner: planar maps project the
// corner along their axis; every other case, and any size 0 or result that is
// not finite, keeps two random values 0..255 (always drawn, u first).
struct TexelPair {
    float u, v;
};
TexelPair mapCoordinates(const TextureSlot* slot, float x, float y, float z, MappingRandom& random);

// A read and built object whose polygons all share one environment-mapped
// surface (slot 1 from textureFile; additive when transparent) with smooth
// vertex normals.
std::unique_ptr<meshSurfaceObject> loadEnvMappedObject(const char* objectFile, const char* textureFile,
                                                       bool transparent);

} // namespace zov
