#include "ModuleRender.h"

#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zov::test {

double toDb(double amplitude)
{
    return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -200.0;
}

double RowVisit::rmsDb() const
{
    return samples ? toDb(std::sqrt(sumSquares / samples)) : -200.0;
}

std::vector<RowVisit> renderRows(const std::vector<std::uint8_t>& module, int stopAtOrderAfterLoop,
                                 double maxSeconds, const std::vector<int>& solo)
{
    std::ostringstream log;
    openmpt::module_ext mod(module, log);
    mod.set_repeat_count(-1);
    if (!solo.empty()) {
        auto* interactive = static_cast<openmpt::ext::interactive*>(mod.get_interface(openmpt::ext::interactive_id));
        for (int ch = 0; ch < mod.get_num_channels(); ++ch)
            interactive->set_channel_mute_status(ch, std::find(solo.begin(), solo.end(), ch) == solo.end());
    }
    // A small block keeps each block within one row (a row is 5292 frames or more).
    constexpr int kBlock = 147;
    std::vector<float> buffer(2 * kBlock);
    std::vector<RowVisit> rows;
    int pass = 0;
    double now = 0.0;
    while (now < maxSeconds) {
        const std::size_t got = mod.read_interleaved_stereo(kRenderRate, kBlock, buffer.data());
        if (got == 0)
            break;
        // After a read, the position is the row that made the block's last frame.
        const int order = mod.get_current_order();
        const int row = mod.get_current_row();
        if (rows.empty() || rows.back().order != order || rows.back().row != row) {
            if (!rows.empty() && order < rows.back().order)
                ++pass;
            if (pass > 0 && order >= stopAtOrderAfterLoop)
                break;
            RowVisit v;
            v.order = order;
            v.row = row;
            v.pass = pass;
            v.start = now;
            rows.push_back(v);
        }
        RowVisit& v = rows.back();
        for (std::size_t i = 0; i < 2 * got; ++i) {
            v.sumSquares += static_cast<double>(buffer[i]) * buffer[i];
            v.peak = std::max(v.peak, std::fabs(buffer[i]));
        }
        v.samples += static_cast<long>(2 * got);
        v.seconds += static_cast<double>(got) / kRenderRate;
        now += static_cast<double>(got) / kRenderRate;
    }
    return rows;
}

Level levelOf(const std::vector<RowVisit>& rows, int order, int pass)
{
    Level l;
    double sum = 0.0;
    long n = 0;
    for (const RowVisit& v : rows) {
        if (v.order != order || v.pass != pass)
            continue;
        l.seconds += v.seconds;
        sum += v.sumSquares;
        n += v.samples;
        l.peak = std::max(l.peak, v.peak);
    }
    l.rmsDb = n ? toDb(std::sqrt(sum / n)) : -200.0;
    return l;
}

} // namespace zov::test
