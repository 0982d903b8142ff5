#include "tools/datakit/Preview.h"

#include "engine3d/Matrix.h"
#include "engine3d/Vec3.h"
#include "image/Bitmap.h"
#include "image/PngWriter.h"
#include "tools/datakit/Kit.h"
#include "tools/datakit/PreviewFrame.h"
#include "tools/datakit/PreviewMesh.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

namespace zov::kit {

namespace {

constexpr int kW = 512;
constexpr int kH = 384;

struct Assets {
    std::map<std::string, Frame> pictures;
    LwoObject star;
    LwoObject cube;

    const Frame& operator[](const std::string& name) const { return pictures.at(name); }
};

Assets loadAssets()
{
    Assets a;
    for (const KitPicture& p : makePictures())
        a.pictures[p.file] = Frame(p.canvas.width(), p.canvas.height(), p.canvas.toPixels());
    for (KitObject& o : makeObjects())
        (o.file == "star.lwo" ? a.star : a.cube) = std::move(o.object);
    return a;
}

void fadeAt(const Frame& src, Frame& dest, int x0, int y0, int level)
{
    Frame scaled = src;
    for (std::uint32_t& p : scaled.pixels) {
        std::uint32_t out = 0;
        for (int s = 0; s < 32; s += 8)
            out |= ((((p >> s) & 255) * static_cast<std::uint32_t>(level)) >> 8) << s;
        p = out;
    }
    addAt(scaled, dest, x0, y0);
}

// The first part: the sliding title and the cube's light trails over bak4.
Frame slidePart(const Assets& a, float t, bool logo)
{
    Frame frame = a["bak4.jpg"];
    const int x = static_cast<int>((1.1f - 0.14f * t) * 512.0f);
    if (t > 3.0f)
        fadeAt(a["pinegrov.jpg"], frame, x, 182, static_cast<int>(std::max(0.0f, 255.0f - (t - 3.0f) * 40.0f)));
    else
        addAt(a["pinegrov.jpg"], frame, x, 182);
    Frame trail(kW, kH);
    PreviewRenderer renderer(kW, kH);
    const std::vector<const Frame*> images = {&a["kubface.jpg"], &a["kubface.jpg"], nullptr, nullptr, nullptr, nullptr};
    for (float s = std::max(0.0f, t - 1.5f); s <= t; s += 0.02f) {
        blurFour(trail);
        renderer.clearDepth();
        const double pos[3] = {0.0, 0.0, 14.0 * std::sin(2.0 * s)};
        const double rot[3] = {s, -1.4 * s, 0.6 * s};
        renderer.draw(trail, a.cube, pos, rot, -40.0, nullptr, images);
    }
    addAt(trail, frame, 0, 0);
    if (logo)
        addAt(a["kestrel.jpg"], frame, 30, 40);
    return frame;
}

void drawSprite(Frame& target, const Frame& image, double size, double px, double py, double z)
{
    const int w = static_cast<int>(size * kW / z);
    const int h = w;
    const int cx = static_cast<int>(px * kW / z) + kW / 2;
    const int cy = kH / 2 - static_cast<int>(py * kW / z);
    if (z < 2.0 || w < 2)
        return;
    const int left = cx - w / 2, top = cy - h / 2;
    const int du = (image.width << 16) / w, dv = (image.height << 16) / h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (target.inside(left + x, top + y))
                target.at(left + x, top + y) =
                    addSaturate(target.at(left + x, top + y), image.at((x * du) >> 16, (y * dv) >> 16));
}

// The second part: the particle tunnel and the chrome star over bak2.
Frame tunnelPart(const Assets& a, float t, bool logo)
{
    Frame frame = a["bak2.jpg"];
    const float step = 130.0f / 35.0f;
    for (float e = 1.0f; e < 131.0f; e += step) {
        const float s = std::pow(std::fmod(t * 4.0f, step) + e, 3.0f) * 0.0001f;
        const float alpha = -1.6f * t + s * 0.06f;
        const float r = s * 0.01f + 8.0f;
        const float size = std::pow(s, 0.7f) * 0.1f + 2.0f;
        for (float b = 0.0f; b < 6.2831853f; b += 6.2831853f / 18.0f) {
            const float beta = t * -0.7f + b;
            drawSprite(frame, a["particle.jpg"], size, 20.0f * std::cos(beta) + r * std::cos(alpha),
                       20.0f * std::sin(beta) + r * std::sin(alpha * 0.5f), s);
        }
    }
    PreviewRenderer renderer(kW, kH);
    const double pos[3] = {1.5 * std::cos(t), std::cos(2.0 * t), 5.0 * std::sin(2.0 * t) - 14.0};
    const double rot[3] = {t, 0.0, -t};
    renderer.draw(frame, a.star, pos, rot, -25.0, &a["envmap.jpg"], {});
    if (logo)
        addAt(a["kestrel.jpg"], frame, 30, 40);
    return frame;
}

void drawGrid(Frame& feedback, float t)
{
    const float d = 1.0f / 32.0f;
    const double cx = 0.2 * std::cos(2.0 * t), cy = 0.2 * std::sin(2.0 * t);
    Matrix rot, move;
    rot.rotationZ(0.5 * t);
    move.translation(0.0, 0.0, 0.8);
    const Matrix m = rot.times(move);
    auto project = [&](double x, double y, int& sx, int& sy) {
        const double z = std::sin(std::sqrt((x + cx) * (x + cx) + (y + cy) * (y + cy)) * 6.0 - 2.4 * t) * 0.5;
        const Vec3 q = Vec3(x, y, z).transform(m);
        sx = static_cast<int>(kW * 0.8 * q.x / q.z + cx + kW * 0.5);
        sy = static_cast<int>(kW * 0.8 * q.y / q.z + cy + kH * 0.5);
    };
    for (float u = -0.5f; u <= 0.5f; u += d)
        for (float v = -0.5f; v <= 0.5f; v += d) {
            if (u + d >= 0.5f)
                continue;
            int ax, ay, bx, by;
            project(u, v, ax, ay);
            project(u, v - d, bx, by);
            addLine(feedback, ax, ay, bx, by, 0x221a0c);
            project(v, u, ax, ay);
            project(v - d, u, bx, by);
            addLine(feedback, ax, ay, bx, by, 0x221a0c);
        }
}

void bubbles(Frame& frame, float t)
{
    Matrix rx, rz;
    rx.rotationX(t);
    rz.rotationZ(-t);
    const Matrix m = rx.times(rz);
    for (float angle = 0.0f; angle < 6.2831853f; angle += 0.20943951f) {
        const Vec3 q = Vec3(2.0 * std::cos(angle), 0.0, 2.0 * std::sin(2.0 * angle)).transform(m);
        const double z = q.z + 8.0;
        const double sx = q.x * kW / z + kW * 0.5, sy = q.y * kW / z + kH * 0.5;
        for (int dy = -32; dy < 32; ++dy)
            for (int dx = -32; dx < 32; ++dx) {
                const float dist = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                if (dist >= 32.0f)
                    continue;
                const int x = static_cast<int>(dx + sx), y = static_cast<int>(dy + sy);
                if (!frame.inside(x, y))
                    continue;
                std::uint32_t& p = frame.at(x, y);
                p = std::fabs(dist - 32.0f) < 1.4f ? 0 : (p | p << 8 | p << 16);
            }
    }
}

// The third part: bubbles, the rippling wire grid and the scroller over bak1.
Frame scrollerPart(const Assets& a, float t)
{
    Frame frame = a["bak1.jpg"];
    bubbles(frame, t);
    Frame feedback(kW, kH);
    for (float s = std::max(0.0f, t - 1.2f); s <= t; s += 0.02f) {
        blurThree(feedback);
        drawGrid(feedback, s);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < kW; ++x) {
                feedback.at(x, y) = 0;
                feedback.at(x, kH - 2 - y) = 0;
            }
    }
    addAt(feedback, frame, 0, 0);
    const int sx = static_cast<int>((t * 0.3 - 1.0) * kW);
    blitScroll(a["scrollie1.jpg"], frame, 0, 160, sx, 0, true);
    return frame;
}

// The fourth part: the resting star, a portrait and the greetings over bak3.
Frame greetsPart(const Assets& a, float t)
{
    Frame frame = a["bak3.jpg"];
    PreviewRenderer renderer(kW, kH);
    const double pos[3] = {1.0, 0.0, -20.0};
    const double rot[3] = {16.0 + t, 0.0, -16.0 - t};
    renderer.draw(frame, a.star, pos, rot, -25.0, &a["envmap.jpg"], {});
    const int k = static_cast<int>(t * 4.0f) % 3;
    const std::string n = std::to_string(k + 1);
    maskAt(a["umbra" + n + ".jpg"], frame, 266, 119, a["umbra" + n + "a.jpg"]);
    Frame scratch(256, 384);
    blitScroll(a["greets.jpg"], scratch, 0, 0, 0, static_cast<int>((std::sin(1.5 * t) * 0.45 + 0.5) * kH), false);
    addAt(scratch, frame, 0, 0);
    return frame;
}

bool save(const Frame& f, const std::string& path)
{
    Bitmap bitmap(f.width, f.height);
    std::memcpy(bitmap.pixels(), f.pixels.data(), f.pixels.size() * sizeof(std::uint32_t));
    if (!writePng(bitmap, path))
        return false;
    std::printf("wrote %s\n", path.c_str());
    return true;
}

} // namespace

bool writeComposites(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const Assets a = loadAssets();
    return save(slidePart(a, 4.5f, false), dir + "/part1.png") && save(slidePart(a, 2.0f, true), dir + "/part1-logo.png") &&
           save(tunnelPart(a, 3.0f, false), dir + "/part2.png") && save(tunnelPart(a, 5.2f, true), dir + "/part2-logo.png") &&
           save(scrollerPart(a, 2.0f), dir + "/part3.png") && save(scrollerPart(a, 5.0f), dir + "/part3-later.png") &&
           save(greetsPart(a, 0.3f), dir + "/part4.png") && save(greetsPart(a, 2.6f), dir + "/part4-later.png") &&
           save(a["end.jpg"], dir + "/end.png");
}

} // namespace zov::kit
