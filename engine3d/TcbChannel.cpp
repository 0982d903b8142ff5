#include "engine3d/TcbChannel.h"

#include <algorithm>
#include <cmath>

namespace zov {

void TcbList::add(const TcbKey& key)
{
    const auto at =
        std::upper_bound(keys_.begin(), keys_.end(), key.time, [](double t, const TcbKey& k) { return t < k.time; });
    keys_.insert(at, key);
}

const TcbKey& TcbList::key(double t, int shift) const
{
    const int n = count();
    int idx = 0;
    for (int i = 0; i + 1 < n; ++i)
        if (keys_[i].time <= t && t <= keys_[i + 1].time)
            idx = i + shift; // a later segment wins at a shared key time
    if (idx < 0)
        idx = 0;
    return keys_[static_cast<std::size_t>(idx < n ? idx : n - 1)];
}

namespace {

Vec3 linear(const TcbList& list, double t, const TcbKey& k1)
{
    const TcbKey& k0 = list.key(t, 0);
    // Whole key units on both sides: the motion steps once per key unit.
    const double num = std::trunc(std::trunc(t) - k0.time);
    const double den = std::trunc(k1.time - k0.time);
    const float s = den != 0.0 ? static_cast<float>(num / den) : 0.0f;
    return Vec3(k0.value.x + s * (k1.value.x - k0.value.x), k0.value.y + s * (k1.value.y - k0.value.y),
                k0.value.z + s * (k1.value.z - k0.value.z));
}

Vec3 spline(const TcbList& list, double t)
{
    const TcbKey& k1 = list.key(t, 0);
    const TcbKey& k2 = list.key(t, 1);
    const Vec3& p0 = list.key(t, -1).value;
    const Vec3& p1 = k1.value;
    const Vec3& p2 = k2.value;
    const Vec3& p3 = list.key(t, 2).value;
    const double span = k2.time - k1.time;
    const double s = span != 0.0 ? (t - k1.time) / span : 0.0;

    // With tension, continuity and bias 0 every tangent weight is 1/2.
    const bool flatStart = p1.x - p0.x == 0.0; // the first segment, where P0 is P1
    const double t1x = flatStart ? 0.0 : 0.5 * (p1.x - p0.x) + 0.5 * (p2.x - p1.x);
    const double t1y = flatStart ? 0.0 : 0.5 * (p1.y - p0.y) + 0.5 * (p2.y - p1.y);
    const double t1z = flatStart ? 0.0 : 0.5 * (p1.z - p0.z) + 0.5 * (p2.z - p1.z);
    const double t2x = 0.5 * (p2.x - p1.x) + 0.5 * (p3.x - p2.x);
    const double t2y = 0.5 * (p2.y - p1.y) + 0.5 * (p3.y - p2.y);
    const double t2z = 0.5 * (p2.z - p1.z) + 0.5 * (p3.z - p2.z);

    const double s2 = s * s, s3 = s2 * s;
    const double h1 = 2 * s3 - 3 * s2 + 1, h2 = -2 * s3 + 3 * s2, h3 = s3 - 2 * s2 + s, h4 = s3 - s2;
    return Vec3(h1 * p1.x + h2 * p2.x + h3 * t1x + h4 * t2x, h1 * p1.y + h2 * p2.y + h3 * t1y + h4 * t2y,
                h1 * p1.z + h2 * p2.z + h3 * t1z + h4 * t2z);
}

Vec3 plain(const Vec3& v)
{
    return Vec3(v.x, v.y, v.z);
}

} // namespace

Vec3 evaluate(const TcbList& list, double t)
{
    const int n = list.count();
    if (n == 1 || t < list[0].time)
        return plain(list[0].value);
    if (t > list[n - 1].time)
        return plain(list[n - 1].value);
    const TcbKey& k1 = list.key(t, 1);
    if (k1.mode == 1)
        return linear(list, t, k1);
    if (k1.mode != 0)
        return Vec3(0, 0, 0);
    return spline(list, t);
}

} // namespace zov
