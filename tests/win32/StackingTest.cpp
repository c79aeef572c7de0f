#include <algorithm>
#include <cstdio>

#include "Win32Fixture.h"
#include "XStacking.h"

namespace avo::win32::testing {
namespace {

// Showing a window raises it above every other window, other programs' included, and
// activates it, as the X window manager sees it.
class Stacking : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const std::vector<XWindow> order = StackingOrder();
        if (std::find(order.begin(), order.end(), XWindowOf(Form1())) == order.end()) {
            GTEST_SKIP() << "needs Wine's X11 driver with a window manager managing the windows";
        }
    }

    void TearDown() override {
        for (const XWindow other : others_) {
            wchar_t command[64];
            std::swprintf(command, 64, L"/usr/bin/xkill -id 0x%lx", other);
            StartUnixProgram(command, nul_);
        }
        CloseHandle(nul_);
        ProgramFixture::TearDown();
    }

    // Another program's window comes up over all of ours and takes the focus; 0 when it
    // did not in time.
    XWindow CoverWithOtherProgram() {
        const std::vector<XWindow> before = StackingOrder();
        StartUnixProgram(L"/usr/bin/xmessage -geometry 900x800+0+0 another program", nul_);
        XWindow other = 0;
        PumpUntil(system, [&] {
            const std::vector<XWindow> order = StackingOrder();
            if (order.empty() || std::find(before.begin(), before.end(), order.back()) != before.end() ||
                ActiveWindow() != order.back()) {
                return false;
            }
            other = order.back();
            return true;
        });
        if (other) others_.push_back(other);
        return other;
    }

    bool ComesToFrontActive(HWND window) {
        const XWindow x = XWindowOf(window);
        return PumpUntil(system, [&] {
            const std::vector<XWindow> order = StackingOrder();
            return !order.empty() && order.back() == x && ActiveWindow() == x;
        });
    }

private:
    SECURITY_ATTRIBUTES inherited_{sizeof inherited_, nullptr, TRUE};
    HANDLE nul_ = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited_, OPEN_EXISTING,
                              0, nullptr);
    std::vector<XWindow> others_;
};

TEST_F(Stacking, ShowingAWindowRaisesItAboveAnotherProgramsAndActivatesIt) {
    OpenAbout();
    ASSERT_TRUE(ComesToFrontActive(About())) << "the first opening";

    ASSERT_NE(CoverWithOtherProgram(), 0u);
    OpenAbout();  // the About button again: the open window comes to the front
    EXPECT_TRUE(ComesToFrontActive(About())) << "the About button on an open window";

    ASSERT_NE(CoverWithOtherProgram(), 0u);
    ClickExitPicture();
    EXPECT_TRUE(ComesToFrontActive(Form1())) << "the exit picture";
}

}  // namespace
}  // namespace avo::win32::testing
