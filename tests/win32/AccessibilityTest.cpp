#include "Win32Fixture.h"
#include "tests/conformance/Win32ScreenReader.h"

// The output boxes are drawn on the main window's surface; screen readers find them through
// their own windows, which must neither change the look nor swallow clicks. The About
// window's exit picture is a static window that screen readers must take for a button.

namespace avo::win32::testing {
namespace {

using OutputBoxes = ProgramFixture;

// Every pixel of each box on screen is the one the surface has there: the windows change
// nothing that can be seen.
TEST_F(OutputBoxes, LookExactlyAsTheSurfaceDrawsThem) {
    ShowRow(3);
    Pump();
    RedrawWindow(Form1(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const conformance::Picture surface = Surface(Form1());
    const conformance::Picture screen = conformance::OnScreen(Form1());
    for (const char* box : {"Label1", "Label3"}) {
        const RECT bounds = BoundsInForm(Form1(), Form1Control(box));
        int differing = 0;
        for (int y = bounds.top; y < bounds.bottom; ++y) {
            for (int x = bounds.left; x < bounds.right; ++x) {
                differing += screen.At(x, y) != surface.At(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << box;
    }
}

using ScreenReaders = ProgramFixture;

TEST_F(ScreenReaders, TakeTheExitPictureForAButtonThatPressingCloses) {
    OpenAbout();
    const HWND picture = ControlWindow(About(), WindowName::Text, "Picture1");
    EXPECT_EQ(conformance::AccessibleRoleOf(picture), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(conformance::DefaultActionOf(picture), "Bas");

    // Pressing through the screen reader is the picture's click: About unloads itself and
    // brings the main window back.
    const ComPtr<IAccessible> accessible = conformance::AccessibleObjectOf(picture);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->accDoDefaultAction(conformance::Self()), S_OK);
    Pump();
    EXPECT_EQ(About(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Form1()));
    // The object outlives its window and says so instead of acting on a stale handle.
    EXPECT_EQ(accessible->accDoDefaultAction(conformance::Self()), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace avo::win32::testing
