#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace avo {

// A font size in points as a fixed-point decimal with four places: a signed 64-bit count of
// ten-thousandths of a point (9.75 pt is 97500). Sums and comparisons are exact, so the
// caption animation never drifts.
class PointSize {
public:
    constexpr PointSize() = default;

    static constexpr PointSize FromTenThousandths(std::int64_t count) { return PointSize(count); }
    static constexpr PointSize Whole(std::int64_t points) { return PointSize(points * kScale); }
    // For window systems that keep sizes as floating point; rounds to the nearest step.
    static PointSize FromDouble(double points);

    constexpr std::int64_t TenThousandths() const { return count_; }
    double ToDouble() const { return static_cast<double>(count_) / kScale; }
    std::string ToString() const;  // "2.25", "20", "-1.5"

    friend constexpr auto operator<=>(PointSize, PointSize) = default;
    friend constexpr PointSize operator+(PointSize a, PointSize b) {
        return PointSize(a.count_ + b.count_);
    }
    friend constexpr PointSize operator-(PointSize a, PointSize b) {
        return PointSize(a.count_ - b.count_);
    }

    static constexpr std::int64_t kScale = 10000;

private:
    explicit constexpr PointSize(std::int64_t count) : count_(count) {}
    std::int64_t count_ = 0;
};

}  // namespace avo
