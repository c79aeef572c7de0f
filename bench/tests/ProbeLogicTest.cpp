// The probe's arithmetic: a wrong percentile or frame grouping would misreport every
// benchmark without any visible failure, so it is checked here against hand-worked cases.

#include <gtest/gtest.h>

#include "ProcStats.h"
#include "Stats.h"

namespace avo::bench {
namespace {

TEST(Statistics, MedianOfEvenAndOddCounts) {
    EXPECT_DOUBLE_EQ(Summarise({3, 1, 2})->Median, 2);
    EXPECT_DOUBLE_EQ(Summarise({4, 1, 3, 2})->Median, 2.5);
    EXPECT_FALSE(Summarise({}).has_value());
}

TEST(Statistics, NearestRankPercentile) {
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);
    EXPECT_DOUBLE_EQ(*Percentile(hundred, 99), 99);
    EXPECT_DOUBLE_EQ(*Percentile(hundred, 100), 100);
    EXPECT_DOUBLE_EQ(*Percentile(hundred, 0), 1);
    // With few values p99 is the largest: one slow frame in ten must show.
    EXPECT_DOUBLE_EQ(*Percentile({30, 30, 30, 30, 30, 30, 30, 30, 30, 45}, 99), 45);
}

TEST(Frames, ReportsCloseTogetherAreOneRepaint) {
    // Three repaints, 30 ms apart, the second reported as three rectangles.
    const std::vector<double> reports{0, 30, 30.5, 31, 60};
    const auto frames = GroupIntoFrames(reports, 5);
    ASSERT_EQ(frames, (std::vector<double>{0, 30, 60}));
    EXPECT_EQ(Intervals(frames), (std::vector<double>{30, 30}));
}

TEST(Frames, GapIsMeasuredFromTheLatestReport) {
    // A burst that creeps along in 4 ms steps stays one repaint.
    EXPECT_EQ(GroupIntoFrames({0, 4, 8, 12}, 5).size(), 1u);
    EXPECT_TRUE(Intervals({}).empty());
}

TEST(Rectangles, ContainmentIncludesTheEdges) {
    const Rect label{160, 144, 289, 73};
    EXPECT_TRUE(Contains(label, label));
    EXPECT_TRUE(Contains(label, {200, 150, 10, 10}));
    EXPECT_FALSE(Contains(label, {159, 144, 10, 10}));
    EXPECT_FALSE(Contains(label, {160, 144, 290, 73}));
    const Rect both = Union({0, 0, 10, 10}, {20, 5, 5, 10});
    EXPECT_EQ(both.Width, 25);
    EXPECT_EQ(both.Height, 15);
}

TEST(Rectangles, ParseAcceptsOnlyFourPositiveSizedFields) {
    const auto rect = ParseRect("160,144,289,73");
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(rect->Right(), 449);
    EXPECT_FALSE(ParseRect("160,144,289").has_value());
    EXPECT_FALSE(ParseRect("160,144,0,73").has_value());
    EXPECT_FALSE(ParseRect("160,144,289,73,1").has_value());
}

TEST(ProcFiles, StatusGivesResidentAndPeak) {
    const std::string status =
        "Name:\tavodevivu\nVmPeak:\t  400000 kB\nVmHWM:\t   61234 kB\nVmRSS:\t   60000 kB\n";
    const auto memory = ParseStatus(status);
    ASSERT_TRUE(memory.has_value());
    EXPECT_EQ(memory->RssKiB, 60000);
    EXPECT_EQ(memory->HwmKiB, 61234);
    EXPECT_FALSE(ParseStatus("Name:\tx\nVmRSS:\t1 kB\n").has_value());
}

TEST(ProcFiles, CpuTicksSurviveOddCommandNames) {
    // utime (14) = 7 and stime (15) = 5; the name holds a blank and a ')'.
    const std::string stat = "42 (a b) c) S 1 42 42 0 -1 4194304 100 0 0 0 7 5 0 0 20 0 1 0";
    EXPECT_EQ(ParseCpuTicks(stat), 12);
    EXPECT_FALSE(ParseCpuTicks("42 (x) S 1 2").has_value());
}

TEST(ProcFiles, SchedstatRunTimeIsTheFirstField) {
    EXPECT_EQ(ParseSchedstatNs("123456789 2000 7\n"), 123456789);
    EXPECT_FALSE(ParseSchedstatNs("").has_value());
}

}  // namespace
}  // namespace avo::bench
