#pragma once

#include "raster/NewRenderDriver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

// The one place a fill is chosen: a row ties a polygon type code (or none) to
// a driver slot and its routine, with what the mesh set-up hands that fill.
// Everything else (the slot's call, the scene's choice per type code, the
// set-up's textures and coordinates) is read from these rows, once per
// triangle.
namespace zov::fills {

// The ways a scene draws: every type code, with fog off or on, or only the
// type codes 33 and 34, without depth, with fog off or on.
enum Mode : std::uint8_t {
    kPlain = 1,
    kFog = 2,
    kOnly = 4,
    kOnlyFog = 8,
};
constexpr int kModes = 4;

// A triangle's coordinate sets uvA, uvB, uvC.
enum class Coords : std::uint8_t { None, A, B, C };

using Routine = void (NewRenderDriver::*)(RasterTriangle&, Bitmap&, int);

struct Row {
    int typeCode;        // -1: a fill no type code reaches, only its slot
    std::uint8_t modes;  // the Mode bits in which typeCode is drawn by this row
    int slot;            // the driver slot, 0..16
    Routine fill;
    // For a surface whose flags are exactly typeCode: the surface texture
    // (0 image, 1 environment, 2 bump, 3 fourth) that becomes textureA ..
    // textureD, -1 for none. A triangle that lacks one is drawn in its
    // surface's colour instead.
    std::int8_t textures[4] = {-1, -1, -1, -1};
    Coords environment = Coords::None; // the set from the vertex normals
    Coords bump = Coords::None;        // the surface's bump coordinates
};

// clang-format off
inline constexpr Row kRows[] = {
    {0,  kPlain | kFog, 1,  &NewRenderDriver::fillFlat},
    {1,  kPlain | kFog, 2,  &NewRenderDriver::fillTextured,              {0, -1, -1, -1}},
    {2,  kPlain | kFog, 2,  &NewRenderDriver::fillTextured,              {1, -1, -1, -1}, Coords::A},
    {3,  kPlain | kFog, 4,  &NewRenderDriver::fillTextureEnvAdd,         {0, 1, -1, -1},  Coords::B},
    {9,  kPlain | kFog, 5,  &NewRenderDriver::fillTextureMasked,         {0, -1, -1, 3}},
    {10, kPlain | kFog, 5,  &NewRenderDriver::fillTextureMasked,         {1, -1, -1, -1}},
    {6,  kPlain | kFog, 6,  &NewRenderDriver::fillBumpEnv,               {1, 1, 2, -1},   Coords::B, Coords::C},
    {33, kPlain,        10, &NewRenderDriver::fillPerspective,           {0, -1, -1, -1}},
    {34, kPlain,        10, &NewRenderDriver::fillPerspective,           {1, -1, -1, -1}, Coords::A},
    {97, kPlain | kFog, 11, &NewRenderDriver::fillPerspectiveKeyed,      {0, -1, -1, -1}},
    {98, kPlain | kFog, 11, &NewRenderDriver::fillPerspectiveKeyed,      {1, -1, -1, -1}},
    {33, kOnly,         12, &NewRenderDriver::fillPerspectiveNoDepth,    {0, -1, -1, -1}},
    {34, kOnly,         12, &NewRenderDriver::fillPerspectiveNoDepth,    {1, -1, -1, -1}, Coords::A},
    {33, kOnlyFog,      13, &NewRenderDriver::fillPerspectiveFogNoDepth, {0, -1, -1, -1}},
    {34, kOnlyFog,      13, &NewRenderDriver::fillPerspectiveFogNoDepth, {1, -1, -1, -1}, Coords::A},
    {33, kFog,          14, &NewRenderDriver::fillPerspectiveFog,        {0, -1, -1, -1}},
    {34, kFog,          14, &NewRenderDriver::fillPerspectiveFog,        {1, -1, -1, -1}, Coords::A},
    {-1, 0,             15, &NewRenderDriver::fillGouraudTextured},
    {-1, 0,             16, &NewRenderDriver::fillGouraud},
};
// clang-format on

// What the table says, looked up without a search: built when compiling.
struct Lookup {
    std::int8_t slot[kModes][256] = {};      // -1: not drawn
    std::int8_t setUp[256] = {};             // a type code's first row in kRows; -1: none
    std::uint8_t needs[256] = {};            // textures it must have, bit k for textureA + k
    Routine routine[RenderDriver::kTriangleSlots] = {};
    bool consistent = true;                  // one slot a type code and mode, one set-up a type code
};

constexpr bool sameSetUp(const Row& a, const Row& b)
{
    for (int k = 0; k < 4; ++k)
        if (a.textures[k] != b.textures[k])
            return false;
    return a.environment == b.environment && a.bump == b.bump;
}

constexpr Lookup makeLookup()
{
    Lookup l;
    for (auto& mode : l.slot)
        for (auto& s : mode)
            s = -1;
    for (auto& n : l.needs)
        n = 1; // a type code no fill draws needs textureA, as the flags give it
    for (auto& first : l.setUp)
        first = -1;
    // Indices, not pointers or member pointers: those are no constants to
    // every compiler (the sanitizer build's).
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& r = kRows[i];
        if (r.slot < 0 || r.slot >= RenderDriver::kTriangleSlots || r.typeCode > 255) {
            l.consistent = false;
            continue;
        }
        // Rows sharing a slot must share its routine too: render_driver_test
        // checks it, the routines not being comparable here.
        l.routine[r.slot] = r.fill;
        if (r.typeCode < 0)
            continue;
        for (int m = 0; m < kModes; ++m)
            if ((r.modes & (1 << m)) != 0) {
                if (l.slot[m][r.typeCode] >= 0)
                    l.consistent = false;
                l.slot[m][r.typeCode] = static_cast<std::int8_t>(r.slot);
            }
        std::int8_t& first = l.setUp[r.typeCode];
        if (first < 0)
            first = static_cast<std::int8_t>(i);
        else if (!sameSetUp(kRows[first], r))
            l.consistent = false;
        std::uint8_t needs = 0;
        for (int k = 0; k < 4; ++k)
            if (r.textures[k] >= 0)
                needs = static_cast<std::uint8_t>(needs | (1 << k));
        l.needs[r.typeCode] = needs;
    }
    return l;
}

inline constexpr Lookup kLookup = makeLookup();
static_assert(kLookup.consistent, "a type code drawn twice in a mode, or set up two ways");

// The slot that draws typeCode in a scene that draws every type code or
// only 33 and 34, with fog or without; -1 when it is not drawn.
inline int slotFor(int typeCode, bool allModes, bool fog)
{
    if (typeCode < 0 || typeCode > 255)
        return -1;
    return kLookup.slot[(allModes ? 0 : 2) + (fog ? 1 : 0)][typeCode];
}

// The routine of a triangle slot, or none for an empty one.
inline Routine routineFor(int slot)
{
    return slot >= 0 && slot < RenderDriver::kTriangleSlots ? kLookup.routine[slot] : nullptr;
}

// How the mesh sets a triangle of typeCode up, or none for a type code no
// fill draws.
inline const Row* setUpFor(int typeCode)
{
    const int row = typeCode >= 0 && typeCode <= 255 ? kLookup.setUp[typeCode] : -1;
    return row >= 0 ? &kRows[row] : nullptr;
}

// Whether a triangle of typeCode holding these textures can be drawn by its
// fill; otherwise it is drawn in its surface's colour.
inline bool texturesPresent(std::uint8_t typeCode, const void* a, const void* b, const void* c, const void* d)
{
    const unsigned held = (a ? 1u : 0u) | (b ? 2u : 0u) | (c ? 4u : 0u) | (d ? 8u : 0u);
    const unsigned needs = kLookup.needs[typeCode];
    return (held & needs) == needs;
}

} // namespace zov::fills
