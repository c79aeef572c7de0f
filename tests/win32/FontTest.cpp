#include "Win32Fixture.h"

namespace avo::win32::testing {
namespace {

using Fonts = ProgramFixture;

// Controls that name no font (the list, the About window's credit line and address) get
// the window's default font, in the Turkish character set like every named one: on a
// Western Windows the face would otherwise be a code-page-1252 bitmap font without "ı".
TEST_F(Fonts, TheDefaultFontIsTurkish) {
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(Form1Control("List1"), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
    EXPECT_EQ(logFont.lfCharSet, TURKISH_CHARSET);
    EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif");
}

}  // namespace
}  // namespace avo::win32::testing
