#pragma once

#include "runtime/ShowTime.h"

#include <optional>
#include <string>

namespace zov {

class LockstepShow;

// A moment a capture starts or ends at: a show time in seconds ("38.5"), or
// where a part begins or ends ("part:3"; from 1, in playing order).
struct ShowPoint {
    enum class Kind { None, Time, Part };
    Kind kind = Kind::None;
    ShowTime time;
    int part = 0; // from 0

    // Seconds as a decimal number (at most 6 places), or "part:N" with N from
    // 1 to partCount; nothing for anything else.
    static std::optional<ShowPoint> parse(const std::string& text, int partCount);
    bool given() const { return kind != Kind::None; }
};

// The first frame of a lockstep run at or after the point, a part's start
// (atEnd false) or its end (atEnd true: the next part's first frame); none,
// with problem set, when the show does not get there.
std::optional<std::int64_t> frameOf(LockstepShow& show, const ShowPoint& point, bool atEnd, std::string& problem);

} // namespace zov
