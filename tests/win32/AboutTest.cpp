#include "Win32Fixture.h"

namespace avo::win32::testing {
namespace {

// The windows' lives and the caption's pulse are the conformance suite's Lifecycle cases;
// here, what a real start hands to the program it starts.
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
