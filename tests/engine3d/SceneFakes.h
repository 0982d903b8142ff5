#pragma once

#include "engine3d/SceneObject.h"
#include "image/Bitmap.h"
#include "raster/NewRenderDriver.h"
#include "raster/RasterTriangle.h"

#include <vector>

namespace zov::scenetest {

// One fill call as the scene made it.
struct Call {
    int slot;
    int typeCode;
    float depthSum;
    int stamp;
};

// Records the slots called instead of drawing.
class RecordingDriver : public NewRenderDriver {
public:
    explicit RecordingDriver(const Bitmap& target) : NewRenderDriver(target) {}
    std::vector<Call> calls;
    int clears = 0;

    void fillBySlot(int slot, RasterTriangle& t, Bitmap&, int stamp) override
    {
        calls.push_back({slot, t.typeCode, t.coords[6] + t.coords[7] + t.coords[8], stamp});
    }
    void clearDepth() override { ++clears; }
};

// An object that returns fixed triangles (or claims some and returns none).
class TriangleSource : public SceneObject {
public:
    std::vector<OwnedRasterTriangle> triangles;
    std::vector<RasterTriangle*> list;
    bool returnNone = false;

    // A triangle at depth z at every corner.
    void add(int typeCode, float z, std::uint8_t blend = 0)
    {
        OwnedRasterTriangle t;
        for (int k = 0; k < 3; ++k)
            t.coords[6 + k] = z;
        t.triangle.typeCode = static_cast<std::uint8_t>(typeCode);
        t.triangle.blend = blend;
        triangles.push_back(t);
    }

    TriangleBatch render(Camera&, double, int, const FogParameters*) override
    {
        if (returnNone)
            return {nullptr, 5};
        list.clear();
        for (auto& t : triangles)
            list.push_back(&t.triangle);
        return {list.data(), static_cast<int>(list.size())};
    }
    bool producesTriangles() const override { return true; }
    std::uint8_t flagByte() const override { return 0; }
};

} // namespace zov::scenetest
