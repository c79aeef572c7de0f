#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Win32Fixture.h"
#include "platform/win32/DeviceUnits.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/PictureDecoder.h"

// The windows at other DPIs than 96: laid out at the prefix's DPI (LogPixels 144 or 192, run
// by CTest as win32.HighDpi.*), and laid out again when Windows reports a new DPI.

namespace avo::win32::testing {
namespace {

// The pixels of a bitmap, 0x00RRGGBB, top row first.
struct Pixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Values;
};

Pixels Read(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    Pixels pixels{info.bmWidth, info.bmHeight,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(info.bmWidth) * info.bmHeight)};
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB};
    const ScreenDc screen;
    GetDIBits(screen.Get(), bitmap, 0, info.bmHeight, pixels.Values.data(), &format, DIB_RGB_COLORS);
    return pixels;
}

// The form's surface, as WM_PRINTCLIENT draws it.
Pixels Surface(HWND form) {
    RECT client{};
    GetClientRect(form, &client);
    const ScreenDc screen;
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    const UniqueBitmap canvas(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    {
        const ScopedSelection selection(memory.get(), canvas.get());
        SendMessageW(form, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    }
    return Read(canvas.get());
}

Pixels Decoded(const EmbeddedFile& file, int width, int height) {
    PictureDecoder decoder;
    UniqueBitmap bitmap;
    EXPECT_EQ(decoder.Decode(file, width, height, bitmap), StatusOk);
    return bitmap ? Read(bitmap.get()) : Pixels{};
}

// Mean difference per channel (0 to 255) over a rectangle that both hold.
double MeanDifference(const Pixels& a, const Pixels& b, RECT area) {
    double sum = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = a.Values[y * a.Width + x];
            const std::uint32_t q = b.Values[y * b.Width + x];
            for (int shift : {0, 8, 16}) {
                sum += std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                static_cast<int>((q >> shift) & 0xFF));
            }
        }
    }
    return sum / (3.0 * (area.right - area.left) * (area.bottom - area.top));
}

RECT Scaled(RECT rect, int dpi) {
    return {PixelsFromPicturePixels(rect.left, dpi), PixelsFromPicturePixels(rect.top, dpi),
            PixelsFromPicturePixels(rect.right, dpi), PixelsFromPicturePixels(rect.bottom, dpi)};
}

// What is shown of a picture beside the two ways it could have got there at this DPI: the
// set for the DPI (the 2x picture above 96 DPI) at the DPI's size, or the 1x one enlarged.
// `area` is in pixels at 96 DPI.
void ExpectDrawnFromItsSet(const Pixels& shown, const PictureDescription& picture, int dpi,
                           RECT area, const char* what) {
    const int width = PixelsFromPicturePixels(picture.Width, dpi);
    const int height = PixelsFromPicturePixels(picture.Height, dpi);
    const Pixels drawn = Decoded(PictureFileForDpi(picture, dpi), width, height);
    const Pixels enlarged = Decoded(*picture.File, width, height);
    const double toDrawn = MeanDifference(shown, drawn, Scaled(area, dpi));
    const double toEnlarged = MeanDifference(shown, enlarged, Scaled(area, dpi));
    std::printf("%s at %d DPI: %.2f from its set, %.2f from 1x enlarged\n", what, dpi, toDrawn,
                toEnlarged);
    EXPECT_LE(toDrawn, 0.5) << what;
    if (dpi > kDefaultDpi) {
        EXPECT_GT(toEnlarged, 2 * toDrawn + 1.0) << what;
    }
}

const PictureDescription& Face(std::string_view control) {
    const WindowClass& form1 = AvodevivuProgram().Classes[0];
    return form1.Description.Controls[form1.IndexOf(control)].Picture;
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

RECT BoundsInForm(HWND form, HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

class DpiFixture : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        ASSERT_GE(area.bottom - area.top, 1000) << "the screen is too small for 200 %";
    }

    // Everything that is measured in pixels, checked at `dpi`.
    void ExpectMainWindowLaidOutAt(int dpi) {
        const HWND form = Form1();
        EXPECT_EQ(ClientSize(form).cx, PixelsFromTwips(9735, dpi));
        EXPECT_EQ(ClientSize(form).cy, PixelsFromTwips(7065, dpi));
        const RECT list = BoundsInForm(form, Form1Control("List1"));
        EXPECT_EQ(list.left, PixelsFromTwips(840, dpi));
        EXPECT_EQ(list.bottom, PixelsFromTwips(3000, dpi) + PixelsFromTwips(3180, dpi));
        // The background: the laptop, clear of every control.
        ExpectDrawnFromItsSet(Surface(form), AvodevivuProgram().Classes[0].Description.Picture,
                              dpi, {40, 20, 190, 170}, "background");
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            const auto face = reinterpret_cast<HBITMAP>(
                SendMessageW(Form1Control(name), BM_GETIMAGE, IMAGE_BITMAP, 0));
            ASSERT_NE(face, nullptr);
            const PictureDescription& picture = Face(name);
            ExpectDrawnFromItsSet(Read(face), picture, dpi, {0, 0, picture.Width, picture.Height},
                                  name);
        }
        // Every row's letters fit its height, in the font the list has now.
        const HWND listWindow = Form1Control("List1");
        const HDC dc = GetDC(listWindow);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(listWindow, WM_GETFONT, 0, 0));
        const HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(listWindow, dc);
        EXPECT_GE(SendMessageW(listWindow, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight);
    }

    void ExpectCaptionPulsates() {
        const PointSize start = Control(WindowName::Text, "Label1").FontSize();
        EXPECT_TRUE(PumpUntil(system, [&] {
            return Control(WindowName::Text, "Label1").FontSize() >= start + PointSize::Whole(3);
        }));
    }

    // As Windows reports a move to a monitor of `dpi`, suggesting the frame for the
    // window's client area in twips. Wine draws every frame at the session's DPI, so the
    // frame is measured at that one.
    void ChangeDpi(HWND form, SIZE clientTwips, int dpi) {
        RECT frame{};
        GetWindowRect(form, &frame);
        RECT suggested{0, 0, PixelsFromTwips(clientTwips.cx, dpi),
                       PixelsFromTwips(clientTwips.cy, dpi)};
        AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), FALSE, 0);
        OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
        SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        Pump();
    }
};

// At the prefix's DPI: both windows open laid out for it.
class HighDpi : public DpiFixture {
protected:
    void SetUp() override {
        DpiFixture::SetUp();
        if (system.Dpi() == kDefaultDpi) GTEST_SKIP() << "run with LogPixels above 96";
    }
};

TEST_F(HighDpi, MainWindowIsLaidOutForTheDpi) { ExpectMainWindowLaidOutAt(system.Dpi()); }

TEST_F(HighDpi, AboutWindowIsLaidOutForTheDpiAndItsCaptionPulsates) {
    OpenAbout();
    const int dpi = system.Dpi();
    EXPECT_EQ(ClientSize(About()).cx, PixelsFromTwips(8400, dpi));
    EXPECT_EQ(ClientSize(About()).cy, PixelsFromTwips(5235, dpi));
    const WindowDescription& text = AvodevivuProgram().Classes[1].Description;
    // Europe and Asia on the map, clear of the labels.
    ExpectDrawnFromItsSet(Surface(About()), text.Picture, dpi, {250, 20, 450, 130}, "map");
    EXPECT_EQ(BoundsInForm(About(), ControlWindow(About(), WindowName::Text, "Picture1")).left,
              PixelsFromTwips(7920, dpi));
    ExpectCaptionPulsates();
}

// At 96 DPI, a move to a monitor with another scale, as Windows reports it.
class DpiChange : public DpiFixture {
protected:
    void SetUp() override {
        DpiFixture::SetUp();
        if (system.Dpi() != kDefaultDpi) GTEST_SKIP() << "starts from 96 DPI";
    }
};

TEST_F(DpiChange, MainWindowIsLaidOutAgainAndBack) {
    for (const int dpi : {192, 144, 96}) {
        ChangeDpi(Form1(), {9735, 7065}, dpi);
        ExpectMainWindowLaidOutAt(dpi);
        // The maker's name keeps its 18 points.
        EXPECT_EQ(Control(WindowName::Form1, "Label5").FontSize(), PointSize::Whole(18));
    }
}

TEST_F(DpiChange, CaptionKeepsItsPointsAndGoesOnPulsating) {
    OpenAbout();
    Control(WindowName::Text, "Timer1").SetEnabled(false);
    Control(WindowName::Text, "Timer2").SetEnabled(false);
    // 12 points are a whole number of pixels at both DPIs, so the font reports them exactly.
    Control(WindowName::Text, "Label1").SetFontSize(PointSize::Whole(12));
    ChangeDpi(About(), {8400, 5235}, 192);
    EXPECT_EQ(ClientSize(About()).cx, 1120);
    EXPECT_EQ(Control(WindowName::Text, "Label1").FontSize(), PointSize::Whole(12));
    Control(WindowName::Text, "Timer1").SetEnabled(true);
    ExpectCaptionPulsates();
}

}  // namespace
}  // namespace avo::win32::testing
