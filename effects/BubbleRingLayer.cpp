#include "effects/BubbleRingLayer.h"

#include "effects/ParamProtocol.h"
#include "image/Bitmap.h"
#include "math/Matrix.h"
#include "raster/FixedPoint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zov {

namespace {

constexpr double kPointStep = 0.20943951023931953; // 2 pi / 30
constexpr double kFullTurn = 6.283185307179586;
constexpr double kRimWidth = 1.4;

// Whether a bubble centred at s can reach a pixel 0..size-1: its offsets are
// -32..31 and -1 < v < 0 still truncates to 0.
bool reaches(double s, int size) { return s > -BubbleRingLayer::kRadius - 1 && s < size + BubbleRingLayer::kRadius; }

} // namespace

BubbleRingLayer::BubbleRingLayer() = default;
BubbleRingLayer::~BubbleRingLayer() = default;

void BubbleRingLayer::setParam(const char* key, const void* value)
{
    if (isParamKey(key, "POSITION") && value != nullptr)
        position_ = static_cast<const Vec3Function*>(value);
    if (isParamKey(key, "ROTATION") && value != nullptr)
        rotationFunction_ = static_cast<const Vec3Function*>(value);
    if (isParamKey(key, "DISTANCE"))
        readParamWord(value, distance_);
}

void BubbleRingLayer::init()
{
    points_.clear();
    // Single-precision steps land just short of 2 pi: a 31st point on top of
    // the first.
    for (float a = 0.0f; a < kFullTurn; a = static_cast<float>(a + kPointStep)) {
        const double angle = a;
        points_.emplace_back(2.0 * std::cos(angle), 0.0, 2.0 * std::sin(2.0 * angle));
    }
}

void BubbleRingLayer::render(Bitmap& frame, float time, int)
{
    rotation_ = rotationFunction_->at(time);
    Matrix m, r;
    r.rotationX(rotation_.x);
    m.multiplyBy(r);
    r.rotationY(rotation_.y);
    m.multiplyBy(r);
    r.rotationZ(rotation_.z);
    m.multiplyBy(r);
    const double w = frame.width();
    const double h = frame.height();
    for (const Vec3& p : points_) {
        const Vec3 q = p.transform(m);
        const double z = q.z + distance_;
        if (!(z > 0.0))
            continue;
        drawBubble(frame, q.x * w / z + w * 0.5, q.y * w / z + h * 0.5);
    }
}

namespace bubble {

void drawReference(Bitmap& frame, double sx, double sy)
{
    if (!frame.hasStorage() || !reaches(sx, frame.width()) || !reaches(sy, frame.height()))
        return;
    const int r = BubbleRingLayer::kRadius;
    for (int dy = -r; dy < r; ++dy)
        for (int dx = -r; dx < r; ++dx) {
            const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            if (d >= r && !(dx == 0 && dy == 0))
                continue;
            const std::int64_t x = fixed::truncate(dx + sx);
            const std::int64_t y = fixed::truncate(dy + sy);
            if (x < 0 || x >= frame.width() || y < 0 || y >= frame.height())
                continue;
            std::uint32_t& v = frame.row(static_cast<int>(y))[x];
            v = std::fabs(d - static_cast<double>(r)) < kRimWidth ? 0u : recolour(v);
        }
}

} // namespace bubble

namespace {

// The offsets of one bubble row, dx ascending, as up to three runs of one
// kind each: rim, inside, rim. Worked out once with the reference's own
// square root and comparisons, so that drawing needs none.
struct BubbleRow {
    struct Run {
        int first, last; // dx, inclusive
        bool rim;
    };
    Run runs[3];
    int runCount = 0;
};

struct BubbleShape {
    BubbleRow rows[2 * BubbleRingLayer::kRadius]; // dy + kRadius

    BubbleShape()
    {
        const int r = BubbleRingLayer::kRadius;
        for (int dy = -r; dy < r; ++dy) {
            BubbleRow& row = rows[dy + r];
            for (int dx = -r; dx < r; ++dx) {
                const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                if (d >= r && !(dx == 0 && dy == 0))
                    continue;
                const bool rim = std::fabs(d - static_cast<double>(r)) < kRimWidth;
                BubbleRow::Run* last = row.runCount ? &row.runs[row.runCount - 1] : nullptr;
                if (last && last->rim == rim && last->last == dx - 1)
                    last->last = dx;
                else if (row.runCount < 3)
                    row.runs[row.runCount++] = {dx, dx, rim};
                else
                    std::abort(); // a circle's row is never more than rim, inside, rim
            }
        }
    }
};

const BubbleShape& bubbleShape()
{
    static const BubbleShape shape;
    return shape;
}

// The pixels of run dx = first..last at x = trunc(dx + sx), fx = floor(sx):
// x = dx + fx where that is not negative, and one more offset truncates to
// column 0 from the left when sx has a fraction. It comes first, as dx
// ascends.
void drawRun(std::uint32_t* row, int width, const BubbleRow::Run& run, int fx, bool fraction)
{
    const int edge = -fx - 1; // the offset for which dx + sx lies in (-1, 0)
    if (fraction && run.first <= edge && edge <= run.last)
        row[0] = run.rim ? 0u : bubble::recolour(row[0]);
    const int from = std::max(run.first, -fx);
    const int to = std::min(run.last, width - 1 - fx);
    if (run.rim) {
        for (int x = from + fx; x <= to + fx; ++x)
            row[x] = 0;
    } else {
        for (int x = from + fx; x <= to + fx; ++x)
            row[x] = bubble::recolour(row[x]);
    }
}

} // namespace

void BubbleRingLayer::drawBubble(Bitmap& frame, double sx, double sy)
{
    if (!frame.hasStorage() || !reaches(sx, frame.width()) || !reaches(sy, frame.height()))
        return;
    const BubbleShape& shape = bubbleShape();
    const double floorX = std::floor(sx);
    const int fx = static_cast<int>(floorX); // bounded by reaches()
    const bool fraction = sx != floorX;
    for (int dy = -kRadius; dy < kRadius; ++dy) {
        const std::int64_t y = fixed::truncate(dy + sy);
        if (y < 0 || y >= frame.height())
            continue;
        const BubbleRow& row = shape.rows[dy + kRadius];
        std::uint32_t* pixels = frame.row(static_cast<int>(y));
        for (int i = 0; i < row.runCount; ++i)
            drawRun(pixels, frame.width(), row.runs[i], fx, fraction);
    }
}

} // namespace zov
