#pragma once

#include "math/Vec3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zov {

// Names are the file's bytes (Latin-1 kept), cut to kLwoMaxName bytes.
inline constexpr std::size_t kLwoMaxName = 255;
// Surfaces past this many SURF chunks are skipped.
inline constexpr std::size_t kLwoMaxSurfaces = 128;
// read() refuses a file larger than this: no object comes near it.
inline constexpr std::uint64_t kLwoMaxFileBytes = 64u << 20;

struct LwoTextureDef {
    std::string typeName;    // CTEX or TTEX, e.g. "Planar Image Map"
    std::string imageName;   // TIMG
    std::uint16_t flags = 0; // TFLG: bit 0 X axis, bit 1 Y, bit 2 Z
    Vec3 size{0, 0, 0};      // TSIZ
    Vec3 centre{0, 0, 0};    // TCTR
    bool hasImage = false;
};

struct LwoSurface {
    std::string name;
    std::uint32_t colour = 0; // 0x00RRGGBB
    std::uint16_t flags = 0;  // FLAG: bit 0 luminous, 1 outline, 2 smoothing, ... as the file gives them
    std::uint16_t transparency = 0;
    LwoTextureDef colourTexture;       // CTEX
    LwoTextureDef transparencyTexture; // TTEX
};

struct LwoPolygon {
    std::vector<std::uint16_t> indices; // 3 or more, each < points.size()
    // Index into LwoObjectData::surfaces of the SURF chunk this polygon
    // uses, -1 when its surface number names none.
    int surface = -1;
    // As in the file: 1-based into the SRFS names; the sign that marks
    // following detail polygons is dropped.
    std::uint16_t surfaceNumber = 0;
};

struct LwoChunkInfo {
    char id[5];
    std::uint32_t size;
};

struct LwoObjectData {
    std::vector<Vec3> points;
    std::vector<LwoPolygon> polygons;      // fewer than 3 corners or a bad index: skipped
    std::vector<LwoSurface> surfaces;      // SURF chunks in file order, at most kLwoMaxSurfaces
    std::vector<std::string> surfaceNames; // SRFS, in order, as many as polygons can name (32768)
    std::vector<LwoChunkInfo> chunks;      // every top-level chunk walked, in file order
    std::uint32_t formSize = 0;            // as the header gives it
};

// Reads a LightWave object (IFF FORM of type LWOB): points, polygons and the
// surfaces with their texture definitions; every other chunk is skipped.
// Whatever the bytes, it reads and writes only inside its buffers and its
// allocations stay proportional to the bytes given.
class LwoReader {
public:
    // The whole file. Nothing is printed when it cannot be opened; "DATA WAS
    // NULL" when it is too large to hold; "COULDNT READ LWO FILE....." when
    // it is no FORM/LWOB, keeping what was read. Besides, a file that cannot
    // be read, is no object, is cut short or has a chunk running past its
    // end is reported (image/Diagnostics.h).
    void read(const char* fileName);
    // The bytes of a whole file; false when they are no FORM/LWOB. Odd chunks
    // are followed by a pad byte, as IFF writes them; the walk stops at the
    // first chunk that does not fit in the bytes or the FORM.
    bool parse(const std::uint8_t* bytes, std::size_t n);

    const LwoObjectData& result() const { return data_; }
    LwoObjectData takeResult();

private:
    void walkChunks(const std::uint8_t* bytes, std::size_t n);
    void resolvePolygons();

    LwoObjectData data_;
};

} // namespace zov
