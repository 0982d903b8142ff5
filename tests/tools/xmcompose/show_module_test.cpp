#include "ModuleRender.h"

#include "tools/xmcompose/Instruments.h"
#include "tools/xmcompose/Song.h"
#include "tools/xmcompose/XmTiming.h"
#include "tools/xmcompose/XmWriter.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace zov {
namespace {

using test::RowVisit;

constexpr float kPeakLimit = 0.944f; // -0.5 dBFS
constexpr double kQuietDb = -50.0;

// The show's walk: from the start, through the end, round the loop, until order 4.
class ShowModule : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module_ = new XmModule(composeShow());
        bytes_ = new std::vector<std::uint8_t>(encodeXm(*module_));
        rows_ = new std::vector<RowVisit>(test::renderRows(*bytes_, 4, 200.0));
    }
    static void TearDownTestSuite()
    {
        delete module_;
        delete bytes_;
        delete rows_;
    }

    static const XmModule& module() { return *module_; }
    static const std::vector<std::uint8_t>& bytes() { return *bytes_; }
    static const std::vector<RowVisit>& rows() { return *rows_; }

    // (order, pass) in the order they were played.
    static std::vector<std::pair<int, int>> walk()
    {
        std::vector<std::pair<int, int>> w;
        for (const RowVisit& v : rows())
            if (w.empty() || w.back() != std::make_pair(v.order, v.pass))
                w.emplace_back(v.order, v.pass);
        return w;
    }

private:
    static inline XmModule* module_ = nullptr;
    static inline std::vector<std::uint8_t>* bytes_ = nullptr;
    static inline std::vector<RowVisit>* rows_ = nullptr;
};

TEST_F(ShowModule, LoadsAsTheToolMeantIt)
{
    std::ostringstream log;
    openmpt::module mod(bytes(), log);
    EXPECT_EQ(mod.get_metadata("type"), "xm");
    EXPECT_EQ(mod.get_metadata("tracker"), "FastTracker 2 or compatible");
    EXPECT_EQ(mod.get_metadata("warnings"), "");
    EXPECT_EQ(mod.get_num_orders(), kShowOrders);
    EXPECT_EQ(mod.get_num_channels(), kShowChannels);
    EXPECT_EQ(mod.get_num_instruments(), kShowInstrumentCount);
    EXPECT_EQ(mod.get_num_patterns(), static_cast<int>(module().patterns.size()));
    EXPECT_EQ(mod.get_num_subsongs(), 1);
    EXPECT_EQ(bytes().at(66) | (bytes().at(67) << 8), kShowRestart);
    EXPECT_GE(kShowOrders, 8);
    // The player and the tool agree on how long the song runs before it loops.
    XmTempo tempo{module().speed, module().bpm};
    double seconds = 0.0;
    for (int o = 0; o < kShowOrders; ++o)
        seconds += orderSeconds(module(), o, tempo);
    EXPECT_NEAR(mod.get_duration_seconds(), seconds, 0.01);
}

TEST_F(ShowModule, LoopingWalksToTheEndAndBackToTheRestartOrder)
{
    std::vector<std::pair<int, int>> expected;
    for (int o = 0; o < kShowOrders; ++o)
        expected.emplace_back(o, 0);
    for (int o = kShowRestart; o < 4; ++o)
        expected.emplace_back(o, 1);
    EXPECT_EQ(walk(), expected);

    // Every row of every order is played, in sequence.
    for (std::size_t i = 1; i < rows().size(); ++i) {
        const RowVisit& a = rows()[i - 1];
        const RowVisit& b = rows()[i];
        if (a.order == b.order)
            ASSERT_EQ(b.row, a.row + 1) << "order " << a.order;
        else
            ASSERT_TRUE(a.row == kShowRows - 1 && b.row == 0) << a.order << ":" << a.row << " -> " << b.order;
    }
}

// The show's four loops end when the order reaches 2, 5, exactly 2 again
// (after the loop), and 4: the whole show by the music lasts 60-150 s.
TEST_F(ShowModule, TheShowsLoopsEndInTime)
{
    double loopEnd[4] = {-1, -1, -1, -1};
    for (const RowVisit& v : rows()) {
        if (loopEnd[0] < 0 && v.order >= 2)
            loopEnd[0] = v.start;
        if (loopEnd[1] < 0 && v.order >= 5)
            loopEnd[1] = v.start;
        if (loopEnd[1] >= 0 && loopEnd[2] < 0 && v.order == 2)
            loopEnd[2] = v.start;
    }
    loopEnd[3] = rows().back().start + rows().back().seconds;
    EXPECT_NEAR(loopEnd[0], 15.36, 0.05);
    EXPECT_NEAR(loopEnd[1], 38.40, 0.05);
    EXPECT_GT(loopEnd[2], loopEnd[1] + 20.0); // the light section gets its time
    EXPECT_GE(loopEnd[3], 60.0);
    EXPECT_LE(loopEnd[3], 150.0);
    for (const RowVisit& v : rows()) {
        if (v.row > 0 && v.row < kShowRows - 1) { // boundary rows share a block
            ASSERT_TRUE(v.seconds > 0.099 && v.seconds < 0.151)
                << "order " << v.order << " row " << v.row << " lasts " << v.seconds;
        }
    }
}

TEST_F(ShowModule, EveryOrderStaysUnderThePeakAndInsideItsLoudness)
{
    std::map<int, double> sectionDb;
    for (const auto& [order, pass] : walk()) {
        const test::Level l = test::levelOf(rows(), order, pass);
        EXPECT_LT(l.peak, kPeakLimit) << "order " << order << " pass " << pass;
        EXPECT_GT(l.rmsDb, -26.0) << "order " << order << " pass " << pass;
        EXPECT_LT(l.rmsDb, -10.0) << "order " << order << " pass " << pass;
    }
    auto mean = [&](int first, int last) {
        double sum = 0.0;
        for (int o = first; o <= last; ++o)
            sum += test::levelOf(rows(), o, 0).rmsDb;
        return sum / (last - first + 1);
    };
    const double opening = mean(kIntroOrder, kDriveOrder - 1);
    const double drive = mean(kDriveOrder, kLightOrder - 1);
    const double light = mean(kLightOrder, kShowOrders - 1);
    EXPECT_GT(drive, opening + 1.5);
    EXPECT_GT(drive, light + 1.5);
}

TEST_F(ShowModule, NeverSilentForMoreThanTwoRows)
{
    int run = 0;
    for (const RowVisit& v : rows()) {
        run = v.rmsDb() < kQuietDb ? run + 1 : 0;
        ASSERT_LE(run, 2) << "order " << v.order << " row " << v.row << " pass " << v.pass;
    }
}

TEST_F(ShowModule, OpeningAccentsFallOnTheLogoRows)
{
    for (int order = kIntroOrder; order < kDriveOrder; ++order) {
        std::vector<double> others;
        std::vector<double> accents;
        for (const RowVisit& v : rows()) {
            if (v.order == order && v.pass == 0)
                (v.row % 32 < 3 ? accents : others).push_back(v.rmsDb());
        }
        ASSERT_EQ(accents.size(), 6u);
        std::sort(others.begin(), others.end());
        const double typical = others[others.size() / 2];
        for (double db : accents)
            EXPECT_GT(db, typical + 3.0) << "order " << order;
    }
}

TEST_F(ShowModule, TheDriveKicksOnEveryEighthRowOnly)
{
    std::ostringstream log;
    openmpt::module mod(bytes(), log);
    for (int order = kDriveOrder; order < kLightOrder; ++order) {
        const int pattern = mod.get_order_pattern(order);
        for (int r = 0; r < mod.get_pattern_num_rows(pattern); ++r) {
            const std::string cell = mod.format_pattern_row_channel(pattern, r, kChKick);
            const bool kick = cell.substr(0, 6) == "C-5 01";
            EXPECT_EQ(kick, r % 8 == 0) << "order " << order << " row " << r << ": " << cell;
        }
    }
}

TEST_F(ShowModule, TheCloseIsTheDriveInAnotherVoice)
{
    const std::vector<RowVisit> descant = test::renderRows(bytes(), 4, 200.0, {kChDescant});
    for (int order = kDriveOrder; order < 4; ++order) {
        EXPECT_LT(test::levelOf(descant, order, 0).rmsDb, -90.0) << order;
        EXPECT_GT(test::levelOf(descant, order, 1).rmsDb, -40.0) << order;
    }

    // The lead turns from a bright saw into the mellow flute: compare how
    // much of its energy is in the frame-to-frame differences.
    auto brightness = [](const std::vector<float>& s) {
        double level = 0.0, change = 0.0;
        for (std::size_t i = 2; i < s.size(); i += 2) {
            level += s[i] * s[i];
            change += (s[i] - s[i - 2]) * (s[i] - s[i - 2]);
        }
        return std::sqrt(change / level);
    };
    std::ostringstream log;
    openmpt::module_ext mod(bytes(), log);
    auto* interactive = static_cast<openmpt::ext::interactive*>(mod.get_interface(openmpt::ext::interactive_id));
    for (int ch = 0; ch < kShowChannels; ++ch)
        interactive->set_channel_mute_status(ch, ch != kChLead);
    mod.set_repeat_count(-1);
    std::vector<float> buffer(2 * 441);
    std::vector<float> passes[2];
    int pass = 0, last = 0;
    for (int block = 0; block < 100 * 200; ++block) {
        mod.read_interleaved_stereo(test::kRenderRate, 441, buffer.data());
        const int order = mod.get_current_order();
        pass += order < last ? 1 : 0;
        last = order;
        if (pass == 1 && order > kDriveOrder)
            break;
        if (order == kDriveOrder)
            passes[pass].insert(passes[pass].end(), buffer.begin(), buffer.end());
    }
    const std::vector<float>& first = passes[0];
    const std::vector<float>& second = passes[1];
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    // Heard in both passes: a key-off left on the channel would silence its
    // instrument-less notes.
    for (const std::vector<float>* lead : {&first, &second}) {
        double sum = 0.0;
        for (float x : *lead)
            sum += x * x;
        EXPECT_GT(test::toDb(std::sqrt(sum / lead->size())), -35.0);
    }
    EXPECT_LT(brightness(second), 0.75 * brightness(first));

    // And it is broader: the rows of the close are longer.
    EXPECT_GT(test::levelOf(rows(), kDriveOrder, 1).seconds, test::levelOf(rows(), kDriveOrder, 0).seconds * 1.08);
}

} // namespace
} // namespace zov
