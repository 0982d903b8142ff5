#include "runtime/PartList.h"

#include "runtime/CrossfadeTransition.h"
#include "runtime/DemoTimer.h"
#include "runtime/Part.h"

#include <cstdio>

namespace zov {

PartList::PartList(int width, int height, int depth, int flag, NewRenderDriver& renderDriver, const Clock& clock)
    : width_(width), height_(height), flag_(flag), depth_(depth),
      crossfade_(std::make_unique<CrossfadeTransition>(kCrossfadeDuration)), renderDriver_(renderDriver),
      clock_(clock)
{
}

PartList::~PartList() = default;

void PartList::addPart(Part* part)
{
    if (part == nullptr || partCount_ >= kMaxParts)
        return;
    parts_[partCount_++] = part;
    part->setOwner(this);
}

void PartList::addTransition(Transition* transition)
{
    if (transition == nullptr || transitionCount_ >= kMaxTransitions)
        return;
    transitions_[transitionCount_++] = transition;
}

void PartList::initAll(Bitmap& frame)
{
    for (int i = 0; i < partCount_; ++i)
        parts_[i]->init(frame, renderDriver_);
    std::printf("inited all parts \n");
    std::printf("inited all \n");
    int initialised = 0;
    // A transition needs a part on either side.
    for (; initialised < transitionCount_ && initialised + 1 < partCount_; ++initialised)
        transitions_[initialised]->init(*parts_[initialised], *parts_[initialised + 1], renderDriver_, frame);
    std::printf("inited transition %d\n", initialised);
}

void PartList::startClock()
{
    timer_ = std::make_unique<DemoTimer>(clock_);
}

Part* PartList::part(int index) const
{
    if (index < 0 || index >= partCount_)
        return nullptr;
    return parts_[index];
}

void PartList::renderPart(int index, Bitmap& frame)
{
    Part* p = part(index);
    if (p == nullptr)
        return;
    const float time = timer_ ? timer_->now() : 0.0f;
    if (renderer_)
        renderer_->renderPart(index, *p, frame, renderDriver_, time);
    else
        p->render(frame, renderDriver_, time);
}

} // namespace zov
