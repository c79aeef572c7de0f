#include <windows.h>

#include "Win32Fixture.h"

// Sizes and places in pixels at 96 DPI, Wine's default: 15 twips to the pixel.

namespace avo::win32::testing {
namespace {

class Layout : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (system.Dpi() != 96) GTEST_SKIP() << "pixel sizes are stated for 96 DPI";
    }
};

// The caption is checked by the fixture, which finds the main window by it.
TEST_F(Layout, MainWindowIsFixedWithItsCaptionIconAndExactClientArea) {
    const HWND form = Form1();
    EXPECT_EQ(ClientSize(form).cx, 649);
    EXPECT_EQ(ClientSize(form).cy, 471);
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(Layout, AboutWindowIsABorderlessPopupWithoutIcon) {
    OpenAbout();
    const HWND about = About();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ClientSize(about).cx, 560);
    EXPECT_EQ(ClientSize(about).cy, 349);
    EXPECT_EQ(GetWindowLongW(about, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP);
    EXPECT_EQ(SendMessageW(about, WM_GETICON, ICON_BIG, 0), 0);
    const RECT picture = BoundsInForm(about, ControlWindow(about, WindowName::Text, "Picture1"));
    const RECT expected{528, 320, 545, 337};  // 17 x 17
    EXPECT_TRUE(EqualRect(&picture, &expected));
}

// Controls that name no font (the list, the About window's credit line and address) get
// the window's default font, in the Turkish character set like every named one: on a
// Western Windows the face would otherwise be a code-page-1252 bitmap font without "ı".
TEST_F(Layout, TheDefaultFontIsTurkish) {
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(Form1Control("List1"), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
    EXPECT_EQ(logFont.lfCharSet, TURKISH_CHARSET);
    EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif");
}

struct ChildWindow {
    const char* Control;
    RECT Bounds;
    const wchar_t* ClassName;
};

class LayoutOfControls : public Layout, public ::testing::WithParamInterface<ChildWindow> {};

TEST_P(LayoutOfControls, SitWhereDescribedInTheirSystemClass) {
    const ChildWindow& expected = GetParam();
    const HWND child = Form1Control(expected.Control);
    ASSERT_NE(child, nullptr);
    const RECT bounds = BoundsInForm(Form1(), child);
    EXPECT_TRUE(EqualRect(&bounds, &expected.Bounds))
        << bounds.left << "," << bounds.top << "," << bounds.right << "," << bounds.bottom;
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    EXPECT_EQ(_wcsicmp(className, expected.ClassName), 0);
}

INSTANTIATE_TEST_SUITE_P(Form1, LayoutOfControls,
                         ::testing::Values(ChildWindow{"List1", {56, 200, 177, 412}, L"ListBox"},
                                           ChildWindow{"Command1", {192, 304, 321, 329}, L"Button"},
                                           ChildWindow{"Command2", {192, 344, 321, 369}, L"Button"},
                                           ChildWindow{
                                               "Command3", {192, 384, 321, 409}, L"Button"}));

struct SurfacePixel {
    const char* What;
    POINT Where;
    COLORREF Colour;  // CLR_INVALID: the button face colour
};

class LayoutOfSurface : public Layout, public ::testing::WithParamInterface<SurfacePixel> {};

// Labels are drawn on the form's surface (the output boxes' windows are there for screen
// readers), so their places show in what the form draws.
TEST_P(LayoutOfSurface, ShowsTheBoxesWhereDescribed) {
    const SurfacePixel& expected = GetParam();
    const std::uint32_t pixel = Surface(Form1()).At(expected.Where.x, expected.Where.y);
    EXPECT_EQ(RGB(pixel >> 16, pixel >> 8 & 0xFF, pixel & 0xFF),
              expected.Colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : expected.Colour)
        << expected.What;
}

INSTANTIATE_TEST_SUITE_P(
    Form1, LayoutOfSurface,
    ::testing::Values(
        SurfacePixel{"Label1 inside its border", {345, 209}, RGB(128, 0, 0)},
        SurfacePixel{"Label1 inside, bottom right", {591, 279}, RGB(128, 0, 0)},
        SurfacePixel{"Label1 border", {344, 208}, RGB(0, 0, 0)},
        SurfacePixel{"Label3 border, bottom right", {592, 408}, RGB(0, 0, 0)},
        // The 648-pixel picture leaves the last column of the 649-pixel window uncovered.
        SurfacePixel{"right of the picture", {648, 100}, CLR_INVALID}));

}  // namespace
}  // namespace avo::win32::testing
