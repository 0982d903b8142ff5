#include "tools/demotool/Render.h"

#include "engine3d/Scene.h"
#include "image/Bitmap.h"
#include "image/PngWriter.h"
#include "lwo/LwoReader.h"
#include "lwo/ObjectBuilder.h"
#include "raster/NewRenderDriver.h"
#include "show/PartPlayback.h"
#include "tools/demotool/FileInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace zov::tool {

namespace {

constexpr std::uint32_t kBackground = 0x00101018;

int fail(const std::string& line)
{
    std::fprintf(stderr, "demotool: %s\n", line.c_str());
    return 1;
}

bool readable(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

} // namespace

int renderObject(const ObjectView& view)
{
    std::vector<std::uint8_t> bytes;
    std::string problem;
    if (!readFileBytes(view.object, kLwoMaxFileBytes, bytes, problem))
        return fail(view.object + ": " + problem);
    LwoReader reader;
    if (!reader.parse(bytes.data(), bytes.size()))
        return fail(view.object + ": not a LightWave object (FORM of type LWOB)");
    if (!view.envmap.empty() && !readable(view.envmap))
        return fail(view.envmap + ": cannot be read");

    const LwoObjectData& data = reader.result();
    double reach = 0.0;
    for (const Vec3& p : data.points)
        reach = std::max(reach, p.length());
    if (reach == 0.0)
        reach = 1.0;
    const double distance = view.distance > 0.0 ? view.distance : 3.0 * reach;

    std::unique_ptr<meshSurfaceObject> mesh =
        view.envmap.empty() ? buildObject(data)
                            : loadEnvMappedObject(view.object.c_str(), view.envmap.c_str(), false);
    if (!mesh)
        return fail(view.object + ": no object could be built from it");
    const double toRadians = std::numbers::pi / 180.0;
    mesh->rotation.set(view.rotation[0] * toRadians, view.rotation[1] * toRadians, view.rotation[2] * toRadians);

    Bitmap target(view.width, view.height);
    target.fill(kBackground);
    NewRenderDriver driver(target);
    Scene scene;
    // Near enough for the object's front, far enough for its back.
    scene.near = static_cast<float>(std::clamp((distance - reach) * 0.5, 0.01, 2.0));
    scene.far = static_cast<float>(distance + 2.0 * reach + 10.0);
    scene.addObject(mesh.get());
    scene.setCameraPosition(0, 0, -distance);
    scene.render(target, driver, 0.0);
    std::string error;
    return writePng(target, view.output, error) ? 0 : fail(error);
}

int renderPart(int part, double seconds, const std::string& output)
{
    // The golden frames' playback: the frames before the one asked for are
    // rendered with the music's rows scripted, so trails, feedback and the
    // star's "BONK" jumps are as the show has them.
    const int lastFrame = static_cast<int>(std::lround(seconds / kPlaybackFrameSeconds));
    std::string error = "nothing rendered for " + output;
    bool written = false;
    playShowPart(part, lastFrame, [&](int n, const Bitmap& frame) {
        if (n == lastFrame)
            written = writePng(frame, output, error);
    });
    return written ? 0 : fail(error);
}

} // namespace zov::tool
