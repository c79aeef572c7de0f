#include "CapturedDiagnostics.h"
#include "Win32Fixture.h"
#include "about/Text.h"

namespace avo::win32::testing {
namespace {

using AboutLifecycle = ProgramFixture;

TEST_F(AboutLifecycle, EachOpeningLoadsOnceLaunchesOnceAndTheExitPictureCloses) {
    for (std::size_t opening = 1; opening <= 3; ++opening) {
        OpenAbout();
        OpenAbout();  // a second press only brings it to the front
        EXPECT_EQ(ThreadWindows(kFormClassName, kAboutCaption).size(), 1u);

        const std::vector<LaunchLog::Launch> recorded = launches.WaitFor(opening);
        ASSERT_EQ(recorded.size(), opening);
        EXPECT_EQ(recorded.back().CommandLine, kSiteLaunch);
        EXPECT_EQ(recorded.back().ShowCode, SW_SHOWMINIMIZED);

        const HWND about = About();
        ClickExitPicture();
        EXPECT_FALSE(IsWindow(about));
        EXPECT_TRUE(IsWindowVisible(Form1()));
    }
    EXPECT_EQ(launches.WaitFor(4, std::chrono::milliseconds(500)).size(), 3u);  // no stray one
}

TEST_F(AboutLifecycle, ClosingTheMainWindowKeepsAboutAndTheExitPictureBringsAFreshOne) {
    ShowRow(7);
    OpenAbout();
    const HWND first = Form1();
    SendMessageW(first, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(shell->IsRunning());
    ASSERT_NE(About(), nullptr);

    ClickExitPicture();
    const HWND second = Form1();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(About(), nullptr);
    EXPECT_EQ(Form1Text("Label1"), "");
    EXPECT_EQ(Form1Text("Label3"), "");
    EXPECT_EQ(SendMessageW(Form1Control("List1"), LB_GETCURSEL, 0, 0), LB_ERR);
}

// Alt+F4 reaches the window as SC_CLOSE, which Windows turns into WM_CLOSE.
TEST_F(AboutLifecycle, AltF4OnTheOnlyWindowEndsTheProgram) {
    const HWND form = Form1();
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(system.ProcessPendingMessages()) << "no quit request";
    EXPECT_FALSE(shell->IsRunning());
    EXPECT_FALSE(IsWindow(form));
}

bool watchdogFired = false;

void CALLBACK PressAboutThenExit(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND form1 = FindForm(kForm1Caption);
    SendMessageW(ControlWindow(form1, WindowName::Form1, "Command2"), BM_CLICK, 0, 0);
    SendMessageW(ControlWindow(form1, WindowName::Form1, "Command3"), BM_CLICK, 0, 0);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    watchdogFired = true;
    PostQuitMessage(1);
}

TEST(AboutLifecycleRun, ExitButtonEndsTheEventLoopAndClosesEveryWindow) {
    LaunchLog launches;
    Win32WindowSystem system;
    std::ostringstream diagnostics;
    Shell shell(system, AvodevivuProgram(), avo::testing::CaptureInto(diagnostics));
    watchdogFired = false;
    SetTimer(nullptr, 0, 100, PressAboutThenExit);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 20000, Watchdog);

    EXPECT_EQ(shell.Run(), 0);

    KillTimer(nullptr, watchdog);
    EXPECT_FALSE(watchdogFired);
    EXPECT_FALSE(shell.IsRunning());
    system.ProcessPendingMessages();
    EXPECT_TRUE(ThreadWindows(kFormClassName, kForm1Caption).empty());
    EXPECT_TRUE(ThreadWindows(kFormClassName, kAboutCaption).empty());
    EXPECT_EQ(diagnostics.str(), "");
}

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

TEST(StartProcess, ReportsTheSystemsReasonForAFailure) {
    Win32WindowSystem system;
    std::uint32_t processId = 0;
    EXPECT_EQ(system.StartProcess("avo-no-such-program.exe http://x", 2, processId),
              StatusFromSystemError(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace avo::win32::testing
