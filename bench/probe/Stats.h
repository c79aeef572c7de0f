#pragma once

#include <optional>
#include <string>
#include <vector>

// Pure helpers of the probe: order statistics, grouping damage into frames, rectangles.
namespace avo::bench {

struct Summary {
    double Median = 0;
    double P99 = 0;
    double Min = 0;
    double Max = 0;
    std::size_t Count = 0;
};

// Nearest-rank percentile (p in 0..100) of unsorted values; empty input gives nothing.
std::optional<double> Percentile(std::vector<double> values, double p);
std::optional<Summary> Summarise(const std::vector<double>& values);

// Damage that arrives within `gapMs` of the previous report belongs to the same repaint;
// returns the start time of each repaint.
std::vector<double> GroupIntoFrames(const std::vector<double>& eventTimesMs, double gapMs);
std::vector<double> Intervals(const std::vector<double>& timesMs);

struct Rect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    int Right() const { return X + Width; }
    int Bottom() const { return Y + Height; }
};

bool Contains(const Rect& outer, const Rect& inner);
Rect Union(const Rect& a, const Rect& b);
std::optional<Rect> ParseRect(const std::string& text);  // "x,y,width,height"

}  // namespace avo::bench
