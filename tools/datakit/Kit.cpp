#include "tools/datakit/Kit.h"

#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/Objects.h"
#include "tools/datakit/PcxWriter.h"
#include "tools/datakit/Pictures.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zov::kit {

const std::vector<KitFileSpec>& kitFiles()
{
    static const std::vector<KitFileSpec> files = {
        {"mossel2.pcx", 320, 200}, {"kestrel.jpg", 512, 256},  {"end.jpg", 512, 384},     {"bak4.jpg", 512, 384},
        {"pinegrov.jpg", 271, 20}, {"bak2.jpg", 512, 384},     {"particle.jpg", 64, 64},  {"envmap.jpg", 256, 256},
        {"bak1.jpg", 512, 384},    {"scrollie1.jpg", 1024, 64}, {"bak3.jpg", 512, 384},   {"umbra1.jpg", 178, 169},
        {"umbra1a.jpg", 178, 169}, {"umbra2.jpg", 178, 169},   {"umbra2a.jpg", 178, 169}, {"umbra3.jpg", 178, 169},
        {"umbra3a.jpg", 178, 169}, {"greets.jpg", 256, 512},   {"kubface.jpg", 256, 256}, {"star.lwo", 0, 0},
        {"testkub.lwo", 0, 0},
    };
    return files;
}

std::vector<KitPicture> makePictures()
{
    std::vector<KitPicture> out;
    auto add = [&out](const char* file, Format format, Canvas canvas) {
        out.push_back({file, format, std::move(canvas)});
    };
    add("mossel2.pcx", Format::Pcx, makeFontSheet());
    add("kestrel.jpg", Format::Jpeg, makeLogo());
    add("end.jpg", Format::Jpeg, makeEndPicture());
    add("bak4.jpg", Format::Jpeg, makeBak4());
    add("pinegrov.jpg", Format::Jpeg, makeTitleLine());
    add("bak2.jpg", Format::Jpeg, makeBak2());
    add("particle.jpg", Format::Jpeg, makeParticle());
    add("envmap.jpg", Format::Jpeg, makeEnvMap());
    add("bak1.jpg", Format::Jpeg, makeBak1());
    add("scrollie1.jpg", Format::Jpeg, makeScroller());
    add("bak3.jpg", Format::Jpeg, makeBak3());
    for (int k = 0; k < 3; ++k) {
        Portrait p = makePortrait(k);
        const std::string n = std::to_string(k + 1);
        out.push_back({"umbra" + n + ".jpg", Format::Jpeg, std::move(p.picture)});
        out.push_back({"umbra" + n + "a.jpg", Format::Jpeg, std::move(p.mask)});
    }
    add("greets.jpg", Format::Jpeg, makeGreets());
    add("kubface.jpg", Format::Jpeg, makeCubeFace());
    return out;
}

std::vector<KitObject> makeObjects()
{
    std::vector<KitObject> out;
    out.push_back({"star.lwo", makeStar()});
    out.push_back({"testkub.lwo", makeCube()});
    return out;
}

namespace {

std::size_t fileSize(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::size_t>(size);
}

} // namespace

bool writeKit(const std::string& dir, std::vector<WrittenFile>* written)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "datakit: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
        return false;
    }
    auto report = [&](const std::string& path, const char* what) {
        const std::size_t bytes = fileSize(path);
        std::printf("wrote %s (%s, %zu bytes)\n", path.c_str(), what, bytes);
        if (written)
            written->push_back({path, bytes});
    };
    for (const KitPicture& p : makePictures()) {
        const std::string path = dir + "/" + p.file;
        const std::vector<std::uint32_t> pixels = p.canvas.toPixels();
        const PixelRect rect{pixels.data(), p.canvas.width(), p.canvas.height()};
        const bool ok = p.format == Format::Pcx ? writePcx(rect, path) : writeJpeg(rect, path);
        if (!ok) {
            std::fprintf(stderr, "datakit: cannot write %s\n", path.c_str());
            return false;
        }
        const std::string size = std::to_string(p.canvas.width()) + "x" + std::to_string(p.canvas.height());
        report(path, size.c_str());
    }
    for (const KitObject& o : makeObjects()) {
        const std::string path = dir + "/" + o.file;
        if (!writeLwob(o.object, path)) {
            std::fprintf(stderr, "datakit: cannot write %s\n", path.c_str());
            return false;
        }
        const std::string what = std::to_string(o.object.points.size()) + " points, " +
                                 std::to_string(o.object.polygons.size()) + " triangles";
        report(path, what.c_str());
    }
    return true;
}

} // namespace zov::kit
