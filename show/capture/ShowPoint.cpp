#include "show/capture/ShowPoint.h"

#include "show/ShowSchedule.h"
#include "show/ShowSession.h"
#include "show/capture/LockstepShow.h"

#include <charconv>

namespace zov {

std::optional<ShowPoint> ShowPoint::parse(const std::string& text, int partCount)
{
    ShowPoint point;
    const char* end = text.data() + text.size();
    if (text.rfind("part:", 0) == 0) {
        int part = 0;
        const auto [after, error] = std::from_chars(text.data() + 5, end, part);
        if (error != std::errc() || after != end || part < 1 || part > partCount)
            return std::nullopt;
        point.kind = Kind::Part;
        point.part = part - 1;
        return point;
    }
    // Whole seconds, then up to six decimals, read exactly.
    constexpr int kMostDecimals = 6;
    constexpr std::int64_t kMostSeconds = 24 * 3600;
    std::int64_t whole = 0;
    const auto [afterWhole, error] = std::from_chars(text.data(), end, whole);
    if (error != std::errc() || whole < 0 || whole > kMostSeconds)
        return std::nullopt;
    std::int64_t numerator = whole;
    std::int64_t denominator = 1;
    const char* at = afterWhole;
    if (at != end) {
        if (*at != '.' || end - at - 1 < 1 || end - at - 1 > kMostDecimals)
            return std::nullopt;
        for (++at; at != end; ++at) {
            if (*at < '0' || *at > '9')
                return std::nullopt;
            numerator = numerator * 10 + (*at - '0');
            denominator *= 10;
        }
    }
    point.kind = Kind::Time;
    point.time = {numerator, denominator};
    return point;
}

std::optional<std::int64_t> frameOf(LockstepShow& show, const ShowPoint& point, bool atEnd, std::string& problem)
{
    if (point.kind == ShowPoint::Kind::Time)
        return show.firstFrameAt(point.time);
    const ShowSchedule* plan = show.session() ? show.session()->schedule() : nullptr;
    if (plan == nullptr) {
        problem = "the show's music could not be read ahead";
        return std::nullopt;
    }
    const auto& entries = plan->entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].part == point.part) {
            if (!atEnd)
                return show.firstFrameAt(plan->startOf(i));
            if (i + 1 < entries.size())
                return show.firstFrameAt(plan->startOf(i + 1));
            break;
        }
    problem = "the show does not reach the " + std::string(atEnd ? "end" : "start") + " of part " +
              std::to_string(point.part + 1);
    return std::nullopt;
}

} // namespace zov
