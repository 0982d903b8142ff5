#pragma once

#include <charconv>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>

namespace zov {

// Frames per second as a fraction in lowest terms, num / den (60000/1001
// for NTSC's 59.94): frame k begins at exactly k * den / num seconds, so
// that a frame's samples and show time never drift.
struct FrameRate {
    std::int64_t num = 60;
    std::int64_t den = 1;

    constexpr FrameRate() = default;
    // Whole frames per second.
    constexpr FrameRate(int fps) : num(fps) {}

    // When frame begins, in whole units of 1 / unitsPerSecond seconds, rounded
    // down: the sample (44100) or the clock tick it falls on.
    constexpr std::int64_t timeOf(std::int64_t frame, std::int64_t unitsPerSecond) const
    {
        // 128 bits: frame x 10^9 ticks x den outgrows 64.
        return static_cast<std::int64_t>(static_cast<__int128>(frame) * unitsPerSecond * den / num);
    }
    constexpr double perSecond() const { return static_cast<double>(num) / static_cast<double>(den); }
    // "60", or "60000/1001": as ffmpeg reads a rate.
    std::string text() const
    {
        return den == 1 ? std::to_string(num) : std::to_string(num) + "/" + std::to_string(den);
    }

    // "N" or "N/M" in whole numbers, from lowest to highest frames per
    // second; nothing for anything else.
    static std::optional<FrameRate> parse(const std::string& text, int lowest, int highest)
    {
        constexpr std::int64_t kLargest = 1'000'000;
        const char* at = text.data();
        const char* end = text.data() + text.size();
        FrameRate rate;
        auto [afterNum, numError] = std::from_chars(at, end, rate.num);
        if (numError != std::errc())
            return std::nullopt;
        if (afterNum != end) {
            if (*afterNum != '/')
                return std::nullopt;
            const auto [afterDen, denError] = std::from_chars(afterNum + 1, end, rate.den);
            if (denError != std::errc() || afterDen != end)
                return std::nullopt;
        }
        if (rate.num < 1 || rate.den < 1 || rate.num > kLargest || rate.den > kLargest ||
            rate.num < lowest * rate.den || rate.num > highest * rate.den)
            return std::nullopt;
        const std::int64_t common = std::gcd(rate.num, rate.den);
        rate.num /= common;
        rate.den /= common;
        return rate;
    }

    friend constexpr bool operator==(const FrameRate&, const FrameRate&) = default;
};

} // namespace zov
