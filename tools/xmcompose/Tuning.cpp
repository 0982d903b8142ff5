#include "tools/xmcompose/Tuning.h"

#include "tools/xmcompose/XmWriter.h"

#include <cmath>
#include <string>

namespace zov {

namespace {

constexpr double kC4Rate = 8363.0;
constexpr double kUnitsPerOctave = 1536.0;

double transposeUnits(double rate)
{
    return kUnitsPerOctave * std::log2(rate / kC4Rate);
}

} // namespace

XmTuning tuningForRate(double framesPerSecondAtC4)
{
    if (!(framesPerSecondAtC4 > 0.0))
        throw XmError("xm: sample rate " + std::to_string(framesPerSecondAtC4) + " is not positive");
    const long units = std::lround(transposeUnits(framesPerSecondAtC4) / 8.0) * 8;
    XmTuning t;
    t.relativeNote = static_cast<int>(std::floor(units / 128.0));
    t.finetune = static_cast<int>(units - 128L * t.relativeNote);
    if (t.relativeNote < -96 || t.relativeNote > 95)
        throw XmError("xm: a sample at " + std::to_string(framesPerSecondAtC4) +
                      " frames per second on C-4 needs relative note " + std::to_string(t.relativeNote) +
                      ", the format holds -96..95");
    return t;
}

XmTuning tuningForCycle(double framesPerCycle)
{
    return tuningForRate(framesPerCycle * kC4Rate / 32.0);
}

double tuningErrorCents(double framesPerSecondAtC4, XmTuning tuning)
{
    const double written = 128.0 * tuning.relativeNote + tuning.finetune;
    return (written - transposeUnits(framesPerSecondAtC4)) * 1200.0 / kUnitsPerOctave;
}

} // namespace zov
