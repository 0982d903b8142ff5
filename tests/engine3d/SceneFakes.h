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

    void fillFlat(RasterTriangle& t, Bitmap&, int s) override { note(1, t, s); }
    void fillTextured(RasterTriangle& t, Bitmap&, int s) override { note(2, t, s); }
    void fillTextureEnvAdd(RasterTriangle& t, Bitmap&, int s) override { note(4, t, s); }
    void fillTextureMasked(RasterTriangle& t, Bitmap&, int s) override { note(5, t, s); }
    void fillBumpEnv(RasterTriangle& t, Bitmap&, int s) override { note(6, t, s); }
    void fillPerspective(RasterTriangle& t, Bitmap&, int s) override { note(10, t, s); }
    void fillPerspectiveKeyed(RasterTriangle& t, Bitmap&, int s) override { note(11, t, s); }
    void fillPerspectiveNoDepth(RasterTriangle& t, Bitmap&, int s) override { note(12, t, s); }
    void fillPerspectiveFogNoDepth(RasterTriangle& t, Bitmap&, int s) override { note(13, t, s); }
    void fillPerspectiveFog(RasterTriangle& t, Bitmap&, int s) override { note(14, t, s); }
    void clearDepth() override { ++clears; }

private:
    void note(int slot, const RasterTriangle& t, int stamp)
    {
        calls.push_back({slot, t.typeCode, t.coords[6] + t.coords[7] + t.coords[8], stamp});
    }
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
