#include "effects/RippleGridLayer.h"

#include "effects/FeedbackBlur.h"
#include "effects/FeedbackState.h"
#include "image/Bitmap.h"
#include "math/Matrix.h"
#include "raster/FixedPoint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

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

// Both ends of every line rippled, turned and projected one by one.
void drawLinesReference(LineSet& grid, Bitmap& fb, const Wave& wave, const Matrix& m)
{
    for (int i = 0; i < grid.count(); ++i) {
        const ColouredPoint& rest = grid.rest(i);
        grid.working(i).set(ripple(rest.start(), wave), ripple(rest.end(), wave));
    }
    const double w = fb.width();
    const double h = fb.height();
    for (int i = 0; i < grid.count(); ++i) {
        const ColouredPoint& line = grid.working(i);
        const Vec3 a = line.start().transform(m);
        const Vec3 b = line.end().transform(m);
        grid.screen(i).set(a, b);
        int ax, ay, bx, by;
        if (project(a, wave, w, h, ax, ay) && project(b, wave, w, h, bx, by))
            ColouredPoint::drawLine(ax, ay, bx, by, RippleGridLayer::kLineColour, fb);
    }
}

// The same with each distinct end worked out once (about 1,150 of 4,092):
// the same operations on the same bits give the same results.
void drawLines(LineSet& grid, RippleGridLayer::Corner* corners, std::size_t cornerCount, const int* cornerOf,
               Bitmap& fb, const Wave& wave, const Matrix& m)
{
    const double w = fb.width();
    const double h = fb.height();
    for (std::size_t k = 0; k < cornerCount; ++k) {
        RippleGridLayer::Corner& c = corners[k];
        c.moved = ripple(c.rest, wave);
        c.turned = c.moved.transform(m);
        c.visible = project(c.turned, wave, w, h, c.sx, c.sy);
    }
    for (int i = 0; i < grid.count(); ++i) {
        const RippleGridLayer::Corner& a = corners[cornerOf[2 * i]];
        const RippleGridLayer::Corner& b = corners[cornerOf[2 * i + 1]];
        grid.working(i).set(a.moved, b.moved);
        grid.screen(i).set(a.turned, b.turned);
        if (a.visible && b.visible)
            ColouredPoint::drawLine(a.sx, a.sy, b.sx, b.sy, RippleGridLayer::kLineColour, fb);
    }
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

    std::map<std::tuple<double, double, double>, int> seen;
    cornerOf_.clear();
    corners_.clear();
    for (int i = 0; i < grid_.count(); ++i)
        for (const Vec3& p : {grid_.rest(i).start(), grid_.rest(i).end()}) {
            const auto [it, added] = seen.try_emplace({p.x, p.y, p.z}, static_cast<int>(corners_.size()));
            if (added)
                corners_.push_back({p, p, p});
            cornerOf_.push_back(it->second);
        }
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

void RippleGridLayer::render(Bitmap& frame, float, int)
{
    if (feedback_)
        feedback_->addTo(frame);
}

void RippleGridLayer::step(const Bitmap& frame, float time) { stepWith(frame, time, false); }

void RippleGridLayer::stepReference(const Bitmap& frame, float time) { stepWith(frame, time, true); }

void RippleGridLayer::restartFeedback()
{
    if (feedback_)
        feedback_->fill(0);
}

std::size_t RippleGridLayer::feedbackWords() const
{
    return bitmapStateWords(feedback_.get());
}

void RippleGridLayer::saveFeedback(std::uint32_t*& out) const
{
    saveBitmapState(feedback_.get(), out);
}

void RippleGridLayer::loadFeedback(const std::uint32_t*& in)
{
    loadBitmapState(feedback_, in);
}

void RippleGridLayer::stepWith(const Bitmap& frame, float time, bool reference)
{
    if (!feedback_)
        feedback_ = std::make_unique<Bitmap>(frame.width(), frame.height());
    Bitmap& fb = *feedback_;
    const double t = time;
    const Wave wave{0.2 * std::cos(2.0 * t), 0.2 * std::sin(2.0 * t), -2.4 * t};

    feedbackBlur(fb);

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

    if (reference || cornerOf_.size() != 2 * static_cast<std::size_t>(grid_.count()))
        drawLinesReference(grid_, fb, wave, m);
    else
        drawLines(grid_, corners_.data(), corners_.size(), cornerOf_.data(), fb, wave, m);

    clearRows(fb, 0, kClearedRows - 1);
    clearRows(fb, fb.height() - 1 - kClearedRows, fb.height() - 2);
}

} // namespace zov
