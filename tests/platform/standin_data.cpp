// Writes a stand-in data/ folder for the end-to-end runs of demoplay where
// the real data kit is not built: plain pictures under the show's file
// names, the stand-in objects and a looping module.
#include "image/Bitmap.h"
#include "tests/runtime/StandinObjects.h"
#include "tools/datakit/JpegWriter.h"
#include "tools/datakit/PcxWriter.h"

#include "TinyXm.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace zov;

namespace {

// A picture whose every region differs from the others, so a screenshot
// can be matched against it.
void gradient(Bitmap& b, int seed)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const auto r = static_cast<std::uint32_t>((x * 255 / b.width() + seed * 60) & 0xFF);
            const auto g = static_cast<std::uint32_t>((y * 255 / b.height()) & 0xFF);
            const auto blue = static_cast<std::uint32_t>(((x / 32 + y / 32) % 2) * 160 + seed * 20) & 0xFF;
            b.setPixel(x, y, r << 16 | g << 8 | blue);
        }
}

bool jpeg(const std::filesystem::path& dir, const char* name, int width, int height, int seed)
{
    Bitmap b(width, height);
    gradient(b, seed);
    return writeJpeg(b, (dir / name).string(), 95);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    bool ok = true;
    for (const char* name : {"bak1.jpg", "bak2.jpg", "bak3.jpg", "bak4.jpg"})
        ok = jpeg(dir, name, 512, 384, name[3] - '0') && ok;
    // The effects' pictures, each at the size the show asks for.
    const struct {
        const char* name;
        int width, height;
    } effects[] = {{"pinegrov.jpg", 271, 20},   {"scrollie1.jpg", 1024, 64}, {"particle.jpg", 64, 64},
                   {"umbra1.jpg", 178, 169},    {"umbra2.jpg", 178, 169},    {"umbra3.jpg", 178, 169},
                   {"umbra1a.jpg", 178, 169},   {"umbra2a.jpg", 178, 169},   {"umbra3a.jpg", 178, 169},
                   {"greets.jpg", 256, 512},    {"envmap.jpg", 256, 256},    {"kubface.jpg", 256, 256}};
    for (const auto& e : effects)
        ok = jpeg(dir, e.name, e.width, e.height, 5) && ok;
    ok = jpeg(dir, "end.jpg", 512, 384, 3) && ok;
    Bitmap logo(512, 256); // black but for a band: it is added onto the frame
    for (int y = 100; y < 140; ++y)
        for (int x = 0; x < 300; ++x)
            logo.setPixel(x, y, 0x00404040);
    ok = writeJpeg(logo, (dir / "kestrel.jpg").string(), 95) && ok;
    ok = kit::writeLwob(test::standinStar(), (dir / "star.lwo").string()) && ok;
    ok = kit::writeLwob(test::standinCube(), (dir / "testkub.lwo").string()) && ok;
    Bitmap font(320, 200);
    gradient(font, 0);
    ok = writePcx(font, (dir / "mossel2.pcx").string()) && ok;
    test::TinyXm song;
    // Patterns of about 8 s, so that a part stays on screen between the
    // key presses of the end-to-end runs.
    song.rows = 64;
    song.orders = {0, 1, 2, 0, 1, 2};
    song.restart = 1;
    test::writeFile((dir / "cute5c.xm").string(), test::makeTinyXm(song));
    return ok ? 0 : 1;
}
