#include <windows.h>

#include <commctrl.h>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"
#include "reference/CommandCatalogue.h"

namespace avo::win32::testing {
namespace {

class Form1Layout : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        if (system.Dpi() != 96) GTEST_SKIP() << "pixel sizes are stated for 96 DPI";
    }
};

struct ChildGeometry {
    const char* Control;
    RECT Bounds;
    const wchar_t* ClassName;
};

class Form1LayoutChildren : public Form1Layout,
                      public ::testing::WithParamInterface<ChildGeometry> {};

TEST_P(Form1LayoutChildren, SitWhereTheDescriptionPutsThem) {
    const ChildGeometry& expected = GetParam();
    const HWND child = Form1Control(expected.Control);
    ASSERT_NE(child, nullptr);
    const RECT bounds = ClientRectOf(child);
    EXPECT_EQ(bounds.left, expected.Bounds.left);
    EXPECT_EQ(bounds.top, expected.Bounds.top);
    EXPECT_EQ(bounds.right, expected.Bounds.right);
    EXPECT_EQ(bounds.bottom, expected.Bounds.bottom);
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    EXPECT_STRCASEEQ(Narrow(className).c_str(), Narrow(expected.ClassName).c_str());
}

INSTANTIATE_TEST_SUITE_P(Pixels, Form1LayoutChildren, ::testing::Values(
    ChildGeometry{"List1", {56, 200, 177, 412}, L"ListBox"},
    ChildGeometry{"Command1", {192, 304, 321, 329}, L"Button"},
    ChildGeometry{"Command2", {192, 344, 321, 369}, L"Button"},
    ChildGeometry{"Command3", {192, 384, 321, 409}, L"Button"}));

TEST_F(Form1Layout, FixedWindowOfExactClientSizeCentredOnScreen) {
    const HWND form = Form1();
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 649);
    EXPECT_EQ(client.bottom, 471);

    const LONG style = GetWindowLongW(form, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);

    RECT frame{};
    RECT area{};
    GetWindowRect(form, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (area.top + area.bottom) / 2, 1);
}

TEST_F(Form1Layout, CaptionKeepsItsSpacesAndTheWindowHasItsIcon) {
    wchar_t caption[128] = {};
    GetWindowTextW(Form1(), caption, 128);
    EXPECT_STREQ(caption, kForm1Caption);
    EXPECT_NE(SendMessageW(Form1(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(Form1(), WM_GETICON, ICON_SMALL, 0), 0);
}

class Form1LayoutButtons : public Form1Layout,
                       public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(Form1LayoutButtons, ShowOnlyTheirPictureAndCarryTheirWordForScreenReaders) {
    const auto& [control, word] = GetParam();
    const HWND button = Form1Control(control);
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    EXPECT_TRUE(style & BS_BITMAP);
    EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);  // never the default button
    EXPECT_NE(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    wchar_t text[64] = {};
    GetWindowTextW(button, text, 64);
    EXPECT_EQ(Narrow(text), word);
}

INSTANTIATE_TEST_SUITE_P(Words, Form1LayoutButtons, ::testing::Values(
    std::pair{"Command1", "Göster"}, std::pair{"Command2", "Hakkında"},
    std::pair{"Command3", "Çıkış"}));

TEST_F(Form1Layout, ListHoldsEveryCommandInCatalogueOrder) {
    const HWND list = Form1Control("List1");
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(kCommandCount));
    for (const CommandEntry& entry : CommandCatalogue) {
        wchar_t row[64] = {};
        SendMessageW(list, LB_GETTEXT, entry.Index, reinterpret_cast<LPARAM>(row));
        EXPECT_EQ(Narrow(row), entry.ListText);
    }
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);
}

// The surface as the window draws it: labels are not windows, so their place shows only here.
struct SurfacePixel {
    const char* What;
    POINT Where;
    COLORREF Colour;
};

class Form1LayoutSurface : public Form1Layout, public ::testing::WithParamInterface<SurfacePixel> {
protected:
    COLORREF PixelAt(POINT point) {
        RECT client{};
        GetClientRect(Form1(), &client);
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
        const HGDIOBJ previous = SelectObject(memory, canvas);
        SendMessageW(Form1(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        const COLORREF colour = GetPixel(memory, point.x, point.y);
        SelectObject(memory, previous);
        DeleteObject(canvas);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return colour;
    }
};

TEST_P(Form1LayoutSurface, ShowsTheBoxesAtTheirPlace) {
    const SurfacePixel& expected = GetParam();
    const COLORREF colour = expected.Colour == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE)
                                                           : expected.Colour;
    EXPECT_EQ(PixelAt(expected.Where), colour) << expected.What;
}

constexpr COLORREF kDarkRed = RGB(128, 0, 0);
INSTANTIATE_TEST_SUITE_P(Pixels, Form1LayoutSurface, ::testing::Values(
    SurfacePixel{"Label1 inside its border", {346, 210}, kDarkRed},
    SurfacePixel{"Label1 bottom-right inside", {590, 279}, kDarkRed},
    SurfacePixel{"Label1 border", {344, 208}, RGB(0, 0, 0)},
    SurfacePixel{"Label3 inside its border", {346, 338}, kDarkRed},
    SurfacePixel{"Label3 border", {592, 408}, RGB(0, 0, 0)},
    // The 648-pixel picture leaves the last column of the 649-pixel window uncovered.
    SurfacePixel{"right of the picture", {648, 100}, CLR_DEFAULT}));

}  // namespace
}  // namespace avo::win32::testing
