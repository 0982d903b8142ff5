#include "show/web/PageOptions.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

using Mode = PageOptions::Mode;

TEST(PageOptions, ModesAndNumbersFromTheAddress)
{
    struct Case {
        const char* query;
        Mode mode;
        int fps;
        int frame;
        int framesPerPart;
    };
    const Case cases[] = {
        {"", Mode::Play, 60, 0, 0},
        {"scaling=smooth", Mode::Play, 60, 0, 0},
        {"lockstep&fps=30&frame=1234", Mode::Lockstep, 30, 1234, 0},
        {"frame=7&lockstep=&fps=1000&utm_source=x", Mode::Lockstep, 1000, 7, 0},
        {"timedemo", Mode::Timedemo, 60, 0, 0},
        {"timedemo&frames=50&", Mode::Timedemo, 60, 0, 50},
    };
    for (const Case& c : cases) {
        const ParsedPageOptions parsed = parsePageOptions(c.query);
        EXPECT_EQ(parsed.problem, "") << c.query;
        EXPECT_EQ(parsed.options.mode, c.mode) << c.query;
        EXPECT_EQ(parsed.options.fps, c.fps) << c.query;
        EXPECT_EQ(parsed.options.frame, c.frame) << c.query;
        EXPECT_EQ(parsed.options.framesPerPart, c.framesPerPart) << c.query;
    }
}

TEST(PageOptions, ProblemsNamedInOneLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"lockstep&fps=0", "'fps' takes a whole number from 1 to 1000, not '0'"},
        {"lockstep&fps", "'fps' takes a whole number from 1 to 1000, not ''"},
        {"lockstep&frame=-1", "'frame' takes a whole number from 0 to 100000000, not '-1'"},
        {"lockstep&frame=12x", "'frame' takes a whole number from 0 to 100000000, not '12x'"},
        {"timedemo&frames=0", "'frames' takes a whole number from 1 to 100000000, not '0'"},
        {"lockstep&timedemo", "'lockstep' and 'timedemo' do not go together"},
    };
    for (const auto& [query, problem] : cases)
        EXPECT_EQ(parsePageOptions(query).problem, problem) << query;
}

} // namespace
} // namespace zov
