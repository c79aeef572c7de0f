#include "Win32Fixture.h"
#include "about/Text.h"

namespace avo::win32::testing {
namespace {

// The windows' lives are the conformance suite's Lifecycle cases.
using Animation = ProgramFixture;

// Real 30 ms timers: the caption grows to its upper limit and turns back, within generous
// time bounds, never leaving its range, with exactly one of the two timers running.
TEST_F(Animation, CaptionPulsatesBetweenItsLimitsOnRealTimers) {
    OpenAbout();
    const ControlRef caption = Control(WindowName::Text, "Label1");
    const ControlRef grow = Control(WindowName::Text, "Timer1");
    const ControlRef shrink = Control(WindowName::Text, "Timer2");
    PointSize smallest = PointSize::Whole(100);
    PointSize largest;
    int phaseFaults = 0;
    using Clock = std::chrono::steady_clock;
    Clock::time_point reachedTop{};
    const Clock::time_point start = Clock::now();

    const bool turnedBack = PumpUntil(
        system,
        [&] {
            const PointSize size = caption.FontSize();
            smallest = std::min(smallest, size);
            largest = std::max(largest, size);
            if (grow.Enabled() == shrink.Enabled()) ++phaseFaults;
            if (size >= about::kCaptionUpperLimit && reachedTop == Clock::time_point{}) {
                reachedTop = Clock::now();
            }
            return reachedTop != Clock::time_point{} && shrink.Enabled() &&
                   size < about::kCaptionUpperLimit - about::kCaptionStep;
        },
        std::chrono::seconds(20));

    ASSERT_TRUE(turnedBack);
    EXPECT_EQ(phaseFaults, 0);
    EXPECT_GE(smallest, PointSize::FromTenThousandths(12500));
    EXPECT_LE(largest, PointSize::Whole(21));
    // About twenty steps of 30 ms lie between the start and the top.
    EXPECT_GE(reachedTop - start, std::chrono::milliseconds(300));
}

TEST(StartProcess, GivesBackTheIdOfTheProcessItStarted) {
    LaunchLog launches;
    Win32WindowSystem system;
    std::uint32_t processId = 0;
    ASSERT_EQ(system.StartProcess(kSiteLaunch, SW_SHOWNORMAL, processId), StatusOk);
    const std::vector<LaunchLog::Launch> recorded = launches.WaitFor(1);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].ProcessId, processId);
    EXPECT_EQ(recorded[0].ShowCode, SW_SHOWNORMAL);
}

}  // namespace
}  // namespace avo::win32::testing
