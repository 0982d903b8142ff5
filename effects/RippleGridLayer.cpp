#include "effects/RippleGridLayer.h"

#include "effects/FeedbackBlur.h"
#include "engine3d/Matrix.h"
#include "image/Bitmap.h"
#include "raster/FixedPoint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zov {

namespace {

// Projected ends are clamped this far out: a line that strays there is
// already broken, and must not walk billions of pixels.
constexpr int kFarPixel = 1 << 16;

struct Wave {
    double cx, cy; // centre of the ripple and of the projection
    double phase;  // radians
};

Vec3 ripple(const Vec3& p, const Wave& wave)
{
    const float x = static_cast<float>(p.x + wave.cx);
    const float y = static_cast<float>(p.y + wave.cy);
    const double r = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y);
    return Vec3(p.x, p.y, p.z + std::sin(r * 6.0 + wave.phase) * 0.5);
}

// Truncated screen position of a transformed point; false behind the eye.
bool project(const Vec3& p, const Wave& wave, double w, double h, int& sx, int& sy)
{
    const double z = p.z; // the ripple's centre has no depth
    if (!(z > 0.0))
        return false;
    sx = fixed::truncateInto(w * 0.8 * p.x / z + wave.cx + w * 0.5, -kFarPixel, kFarPixel);
    sy = fixed::truncateInto(w * 0.8 * p.y / z + wave.cy + h * 0.5, -kFarPixel, kFarPixel);
    return true;
}

} // namespace

RippleGridLayer::RippleGridLayer() = default;
RippleGridLayer::~RippleGridLayer() = default;

void RippleGridLayer::init()
{
    const double d = 1.0 / kCells;
    for (double u = -0.5; u <= 0.5; u += d)
        for (double v = -0.5; v <= 0.5; v += d)
            if (u + d < 0.5) {
                grid_.addLine(ColouredPoint(Vec3(u, v, 0.0), Vec3(u, v - d, 0.0), kGridColour));
                grid_.addLine(ColouredPoint(Vec3(v, u, 0.0), Vec3(v - d, u, 0.0), kGridColour));
            }
    grid_.position.set(0.0, 0.0, 0.8);
    grid_.rotation.set(0.0, 0.0, 0.0);
}

void clearRows(Bitmap& bitmap, int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, bitmap.height() - 1);
    if (!bitmap.hasStorage() || first > last)
        return;
    std::memset(bitmap.row(first), 0,
                static_cast<std::size_t>(last - first + 1) * static_cast<std::size_t>(bitmap.width()) * 4);
}

void RippleGridLayer::render(Bitmap& frame, float time, int)
{
    if (!feedback_)
        feedback_ = std::make_unique<Bitmap>(frame.width(), frame.height());
    Bitmap& fb = *feedback_;
    const double t = time;
    const Wave wave{0.2 * std::cos(2.0 * t), 0.2 * std::sin(2.0 * t), -2.4 * t};

    feedbackBlur(fb);

    for (int i = 0; i < grid_.count(); ++i) {
        const ColouredPoint& rest = grid_.rest(i);
        grid_.working(i).set(ripple(rest.start(), wave), ripple(rest.end(), wave));
    }

    grid_.rotation.set(0.0, 0.0, 0.5 * t);
    Matrix m, step;
    step.rotationX(grid_.rotation.x);
    m.multiplyBy(step);
    step.rotationY(grid_.rotation.y);
    m.multiplyBy(step);
    step.rotationZ(grid_.rotation.z);
    m.multiplyBy(step);
    step.translation(grid_.position.x, grid_.position.y, grid_.position.z);
    m.multiplyBy(step);

    const double w = fb.width();
    const double h = fb.height();
    for (int i = 0; i < grid_.count(); ++i) {
        const ColouredPoint& line = grid_.working(i);
        const Vec3 a = line.start().transform(m);
        const Vec3 b = line.end().transform(m);
        grid_.screen(i).set(a, b);
        int ax, ay, bx, by;
        if (project(a, wave, w, h, ax, ay) && project(b, wave, w, h, bx, by))
            ColouredPoint::drawLine(ax, ay, bx, by, kLineColour, fb);
    }

    clearRows(fb, 0, kClearedRows - 1);
    clearRows(fb, fb.height() - 1 - kClearedRows, fb.height() - 2);
    fb.addTo(frame);
}

} // namespace zov
