#include "show/web/PageOptions.h"

#include "show/program/WholeNumber.h"

namespace zov {

namespace {

constexpr int kMaxFps = 1000;
constexpr int kMaxFrame = 100'000'000;

struct Number {
    const char* name;
    int low;
    int high;
    int PageOptions::*field;
};

constexpr Number kNumbers[] = {
    {"fps", 1, kMaxFps, &PageOptions::fps},
    {"frame", 0, kMaxFrame, &PageOptions::frame},
    {"frames", 1, kMaxFrame, &PageOptions::framesPerPart},
};

} // namespace

ParsedPageOptions parsePageOptions(const std::string& query)
{
    ParsedPageOptions parsed;
    PageOptions& o = parsed.options;
    bool lockstep = false, timedemo = false;
    for (std::size_t at = 0; at <= query.size();) {
        std::size_t end = query.find('&', at);
        if (end == std::string::npos)
            end = query.size();
        const std::string item = query.substr(at, end - at);
        at = end + 1;
        const std::size_t equals = item.find('=');
        const std::string name = item.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
        lockstep = lockstep || name == "lockstep";
        timedemo = timedemo || name == "timedemo";
        for (const Number& number : kNumbers) {
            if (name == number.name && !parseWholeNumber(value, number.low, number.high, o.*number.field)) {
                parsed.problem = "'" + name + "' takes a whole number from " + std::to_string(number.low) + " to " +
                                 std::to_string(number.high) + ", not '" + value + "'";
                return parsed;
            }
        }
    }
    if (lockstep && timedemo) {
        parsed.problem = "'lockstep' and 'timedemo' do not go together";
        return parsed;
    }
    o.mode = lockstep ? PageOptions::Mode::Lockstep : timedemo ? PageOptions::Mode::Timedemo : PageOptions::Mode::Play;
    return parsed;
}

} // namespace zov
