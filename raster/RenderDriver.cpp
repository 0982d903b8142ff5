#include "raster/RenderDriver.h"

namespace zov {

void RenderDriver::fillBySlot(int slot, RasterTriangle& triangle, Bitmap& target, int stamp)
{
    // A switch rather than a table of member pointers: the same dispatch,
    // and the compiler sees every path initialised.
    switch (slot) {
    case 0: reservedSlot0(triangle, target, stamp); break;
    case 1: fillFlat(triangle, target, stamp); break;
    case 2: fillTextured(triangle, target, stamp); break;
    case 3: reservedSlot3(triangle, target, stamp); break;
    case 4: fillTextureEnvAdd(triangle, target, stamp); break;
    case 5: fillTextureMasked(triangle, target, stamp); break;
    case 6: fillBumpEnv(triangle, target, stamp); break;
    case 7: reservedSlot7(triangle, target, stamp); break;
    case 8: reservedSlot8(triangle, target, stamp); break;
    case 9: reservedSlot9(triangle, target, stamp); break;
    case 10: fillPerspective(triangle, target, stamp); break;
    case 11: fillPerspectiveKeyed(triangle, target, stamp); break;
    case 12: fillPerspectiveNoDepth(triangle, target, stamp); break;
    case 13: fillPerspectiveFogNoDepth(triangle, target, stamp); break;
    case 14: fillPerspectiveFog(triangle, target, stamp); break;
    case 15: fillGouraudTextured(triangle, target, stamp); break;
    case 16: fillGouraud(triangle, target, stamp); break;
    default: break;
    }
}

} // namespace zov
