#include "Stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace avo::bench {

std::optional<double> Percentile(std::vector<double> values, double p) {
    if (values.empty()) return std::nullopt;
    std::ranges::sort(values);
    // Nearest rank: the smallest value with at least p % of the values at or below it.
    const double rank = std::ceil(p / 100.0 * static_cast<double>(values.size()));
    const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

std::optional<Summary> Summarise(const std::vector<double>& values) {
    if (values.empty()) return std::nullopt;
    std::vector<double> sorted = values;
    std::ranges::sort(sorted);
    const std::size_t n = sorted.size();
    // The median of an even count is the mean of the middle two.
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    return Summary{median, *Percentile(sorted, 99), sorted.front(), sorted.back(), n};
}

std::vector<double> GroupIntoFrames(const std::vector<double>& eventTimesMs, double gapMs) {
    std::vector<double> starts;
    double previous = 0;
    for (double t : eventTimesMs) {
        if (starts.empty() || t - previous > gapMs) starts.push_back(t);
        previous = t;
    }
    return starts;
}

std::vector<double> Intervals(const std::vector<double>& timesMs) {
    std::vector<double> gaps;
    for (std::size_t i = 1; i < timesMs.size(); ++i) gaps.push_back(timesMs[i] - timesMs[i - 1]);
    return gaps;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.X >= outer.X && inner.Y >= outer.Y && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

Rect Union(const Rect& a, const Rect& b) {
    const int x = std::min(a.X, b.X), y = std::min(a.Y, b.Y);
    return {x, y, std::max(a.Right(), b.Right()) - x, std::max(a.Bottom(), b.Bottom()) - y};
}

std::optional<Rect> ParseRect(const std::string& text) {
    Rect r;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &r.X, &r.Y, &r.Width, &r.Height, &tail) != 4 ||
        r.Width <= 0 || r.Height <= 0) {
        return std::nullopt;
    }
    return r;
}

}  // namespace avo::bench
