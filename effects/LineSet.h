#pragma once

#include "engine3d/ColouredPoint.h"
#include "math/Vec3.h"

#include <memory>

namespace zov {

// Lines in three parallel tables: as built (rest), as moved this frame
// (working) and as transformed for the screen. A fixed capacity, filled once.
class LineSet {
public:
    static constexpr int kCapacity = 13000;

    LineSet();

    // Stores the line as working and rest line; false, storing nothing, once
    // the set is full.
    bool addLine(const ColouredPoint& line);

    int count() const { return count_; }
    ColouredPoint& working(int i) { return working_[i]; }
    const ColouredPoint& working(int i) const { return working_[i]; }
    const ColouredPoint& rest(int i) const { return rest_[i]; }
    ColouredPoint& screen(int i) { return screen_[i]; }
    const ColouredPoint& screen(int i) const { return screen_[i]; }

    Vec3 position;
    Vec3 rotation; // radians

private:
    std::unique_ptr<ColouredPoint[]> working_;
    std::unique_ptr<ColouredPoint[]> rest_;
    std::unique_ptr<ColouredPoint[]> screen_;
    int count_ = 0;
};

} // namespace zov
