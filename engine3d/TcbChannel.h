#pragma once

#include "math/Vec3.h"

#include <vector>

namespace zov {

// One key of a channel. Time in key units (15 per second).
struct TcbKey {
    Vec3 value;
    double time = 0.0;
    // 0 Kochanek-Bartels spline, 1 linear, anything else a zero vector: the
    // key that ends a segment decides how the segment moves.
    int mode = 0;
};

// Keys sorted by time.
class TcbList {
public:
    // Keeps the list sorted; a key at a time already present goes after it.
    void add(const TcbKey& key);
    int count() const { return static_cast<int>(keys_.size()); }
    bool empty() const { return keys_.empty(); }
    const TcbKey& operator[](int i) const { return keys_[static_cast<std::size_t>(i)]; }

    // The key `shift` places after the start of the last segment holding t
    // (shift -1..2), clamped to the list; key 0 when no segment holds t.
    // The list must not be empty.
    const TcbKey& key(double t, int shift) const;

private:
    std::vector<TcbKey> keys_;
};

// The list's value at key time t, with tension, continuity and bias 0
// (Catmull-Rom). The list must not be empty. Before the first key the first
// key's value holds, after the last the last key's; a segment of zero length
// is at its start.
Vec3 evaluate(const TcbList& list, double t);

// Where an object or camera takes a position, rotation or scale from. With no
// list, or an empty one, the value it animates is left as it is.
struct TcbChannel {
    const TcbList* list = nullptr;

    void evaluateInto(double t, Vec3& value) const
    {
        if (list != nullptr && !list->empty())
            value = evaluate(*list, t);
    }
};

} // namespace zov
