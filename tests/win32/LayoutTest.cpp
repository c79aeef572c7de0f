#include <windows.h>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"

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

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_F(Layout, MainWindowIsFixedWithItsCaptionIconAndExactClientArea) {
    const HWND form = Form1();
    EXPECT_EQ(ClientSize(form).cx, 649);
    EXPECT_EQ(ClientSize(form).cy, 471);
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    wchar_t caption[128] = {};
    GetWindowTextW(form, caption, 128);
    EXPECT_STREQ(caption, kForm1Caption);
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

    RECT picture{};
    GetWindowRect(ControlWindow(about, WindowName::Text, "Picture1"), &picture);
    MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&picture), 2);
    EXPECT_EQ(picture.left, 528);
    EXPECT_EQ(picture.top, 320);
    EXPECT_EQ(picture.right - picture.left, 17);
    EXPECT_EQ(picture.bottom - picture.top, 17);
}

struct ChildWindow {
    const char* Control;
    RECT Bounds;
    const wchar_t* ClassName;
    const char* Words;  // what screen readers say
};

class LayoutOfControls : public Layout, public ::testing::WithParamInterface<ChildWindow> {};

TEST_P(LayoutOfControls, SitWhereDescribedAndAreNamedForScreenReaders) {
    const ChildWindow& expected = GetParam();
    const HWND child = Form1Control(expected.Control);
    ASSERT_NE(child, nullptr);
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, Form1(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_TRUE(EqualRect(&bounds, &expected.Bounds))
        << bounds.left << "," << bounds.top << "," << bounds.right << "," << bounds.bottom;
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    EXPECT_EQ(_wcsicmp(className, expected.ClassName), 0);
    wchar_t words[64] = {};
    GetWindowTextW(child, words, 64);
    EXPECT_EQ(Narrow(words), expected.Words);
}

// Picture buttons show only their picture; their words are the window text.
INSTANTIATE_TEST_SUITE_P(
    Form1, LayoutOfControls,
    ::testing::Values(ChildWindow{"List1", {56, 200, 177, 412}, L"ListBox", "Komutlar"},
                      ChildWindow{"Command1", {192, 304, 321, 329}, L"Button", "Göster"},
                      ChildWindow{"Command2", {192, 344, 321, 369}, L"Button", "Hakkında"},
                      ChildWindow{"Command3", {192, 384, 321, 409}, L"Button", "Çıkış"}));

struct SurfacePixel {
    const char* What;
    POINT Where;
    COLORREF Colour;  // CLR_INVALID: the button face colour
};

class LayoutOfSurface : public Layout, public ::testing::WithParamInterface<SurfacePixel> {};

// Labels are drawn on the form's surface (the output boxes' windows are there for screen
// readers), so their places show in what the form draws.
TEST_P(LayoutOfSurface, ShowsTheBoxesWhereDescribed) {
    RECT client{};
    GetClientRect(Form1(), &client);
    const HDC screen = GetDC(nullptr);
    const UniqueMemoryDc memory(CreateCompatibleDC(screen));
    const UniqueBitmap canvas(CreateCompatibleBitmap(screen, client.right, client.bottom));
    ReleaseDC(nullptr, screen);
    const ScopedSelection selection(memory.get(), canvas.get());
    SendMessageW(Form1(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);

    const SurfacePixel& expected = GetParam();
    const COLORREF colour =
        expected.Colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : expected.Colour;
    EXPECT_EQ(GetPixel(memory.get(), expected.Where.x, expected.Where.y), colour) << expected.What;
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
