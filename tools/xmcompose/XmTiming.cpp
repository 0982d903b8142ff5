#include "tools/xmcompose/XmTiming.h"

namespace zov {

double orderSeconds(const XmModule& module, int order, XmTempo& tempo)
{
    const XmPattern& p = module.patterns.at(static_cast<std::size_t>(module.orders.at(static_cast<std::size_t>(order))));
    double seconds = 0.0;
    for (int r = 0; r < p.rows(); ++r) {
        // Every Fxx of a row acts on tick 0, before the row's ticks pass.
        for (int ch = 0; ch < p.channels(); ++ch) {
            const XmCell& c = p.at(r, ch);
            if (c.effect != 0xF || c.param == 0)
                continue;
            if (c.param < 0x20)
                tempo.speed = c.param;
            else
                tempo.bpm = c.param;
        }
        seconds += tempo.speed * 2.5 / tempo.bpm;
    }
    return seconds;
}

} // namespace zov
