#include "effects/LineSet.h"

namespace zov {

LineSet::LineSet()
    : working_(std::make_unique<ColouredPoint[]>(kCapacity)), rest_(std::make_unique<ColouredPoint[]>(kCapacity)),
      screen_(std::make_unique<ColouredPoint[]>(kCapacity))
{
}

bool LineSet::addLine(const ColouredPoint& line)
{
    if (count_ >= kCapacity)
        return false;
    working_[count_] = line;
    rest_[count_] = line;
    screen_[count_] = ColouredPoint();
    ++count_;
    return true;
}

} // namespace zov
