#include "tools/datakit/ContactSheet.h"

#include "image/Bitmap.h"
#include "image/PngWriter.h"
#include "tools/datakit/Lettering.h"
#include "tools/datakit/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zov::kit {

namespace {

constexpr int kSheetWidth = 1600;
constexpr int kGap = 16;
constexpr int kLabel = 40;

// Small pictures are shown enlarged so that their detail can be judged.
int zoomFor(const Canvas& c)
{
    if (c.width() <= 64)
        return 3;
    return (c.height() <= 20 || c.height() == 200) ? 2 : 1;
}

struct Placed {
    const KitPicture* picture;
    int x, y, zoom;
};

} // namespace

Canvas makeContactSheet(const std::vector<KitPicture>& pictures)
{
    std::vector<Placed> placed;
    int x = kGap, y = kGap, shelf = 0;
    for (const KitPicture& p : pictures) {
        const int zoom = zoomFor(p.canvas);
        const int w = p.canvas.width() * zoom;
        const int h = p.canvas.height() * zoom + kLabel;
        if (x + w + kGap > kSheetWidth && x > kGap) {
            x = kGap;
            y += shelf + kGap;
            shelf = 0;
        }
        placed.push_back({&p, x, y, zoom});
        x += w + kGap;
        shelf = std::max(shelf, h);
    }
    Canvas sheet(kSheetWidth, y + shelf + kGap, hex(0x202228));
    for (const Placed& pl : placed) {
        const Canvas& c = pl.picture->canvas;
        // A thin frame shows where pictures on black end.
        for (int yy = -1; yy <= c.height() * pl.zoom; ++yy)
            for (int xx = -1; xx <= c.width() * pl.zoom; ++xx) {
                const bool inside = xx >= 0 && yy >= 0 && xx < c.width() * pl.zoom && yy < c.height() * pl.zoom;
                if (sheet.inside(pl.x + xx, pl.y + yy))
                    sheet.at(pl.x + xx, pl.y + yy) =
                        inside ? c.at(xx / pl.zoom, yy / pl.zoom) : hex(0x50545C);
            }
        // Name, then size, on two lines that fit under the narrowest picture.
        std::string size = std::to_string(c.width()) + "x" + std::to_string(c.height());
        if (pl.zoom > 1)
            size += " (x" + std::to_string(pl.zoom) + ")";
        const int textY = pl.y + c.height() * pl.zoom + 4;
        paintMask(sheet, renderBlockText(pl.picture->file, 2, 0), pl.x, textY, hex(0xF0F0F0));
        paintMask(sheet, renderBlockText(size, 2, 0), pl.x, textY + 18, hex(0xA0A4AC));
    }
    return sheet;
}

bool writeCanvasPng(const Canvas& canvas, const std::string& path, const Mask* alpha)
{
    std::vector<std::uint32_t> pixels = canvas.toPixels();
    if (alpha) {
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const float a = std::clamp(alpha->get(x, y), 0.0f, 1.0f);
                pixels[static_cast<std::size_t>(y) * canvas.width() + x] |=
                    static_cast<std::uint32_t>(std::lround(a * 255.0f)) << 24;
            }
    }
    Bitmap bitmap(canvas.width(), canvas.height());
    std::memcpy(bitmap.pixels(), pixels.data(), pixels.size() * sizeof(std::uint32_t));
    return writePng(bitmap, path, alpha != nullptr);
}

} // namespace zov::kit
