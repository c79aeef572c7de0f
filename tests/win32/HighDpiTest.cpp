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

using conformance::Picture;

// A bitmap's pixels, 0x00RRGGBB, top row first.
Picture Read(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const UniqueMemoryDc source(CreateCompatibleDC(nullptr));
    const ScopedSelection selection(source.get(), bitmap);
    return conformance::Drawn(info.bmWidth, info.bmHeight, [&](HDC canvas) {
        BitBlt(canvas, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    });
}

// Mean difference per channel (0 to 255) over `area`, in pixels at 96 DPI scaled to `dpi`.
double MeanDifference(const Picture& a, const Picture& b, RECT area, int dpi) {
    const auto at = [dpi](LONG v) { return PixelsFromPicturePixels(v, dpi); };
    double sum = 0;
    for (int y = at(area.top); y < at(area.bottom); ++y) {
        for (int x = at(area.left); x < at(area.right); ++x) {
            for (int shift : {0, 8, 16}) {
                sum += std::abs(int(a.At(x, y) >> shift & 0xFF) - int(b.At(x, y) >> shift & 0xFF));
            }
        }
    }
    return sum / (3.0 * (at(area.right) - at(area.left)) * (at(area.bottom) - at(area.top)));
}

// What is shown of a picture must be the set for the DPI (the 2x picture above 96 DPI) at
// the DPI's size, and clearly not the 1x picture enlarged.
void ExpectDrawnFromItsSet(const Picture& shown, const PictureDescription& picture, int dpi,
                           RECT area, const char* what) {
    const auto decoded = [&](const EmbeddedFile& file) {
        PictureDecoder decoder;
        UniqueBitmap bitmap;
        EXPECT_EQ(decoder.Decode(file, PixelsFromPicturePixels(picture.Width, dpi),
                                 PixelsFromPicturePixels(picture.Height, dpi), bitmap),
                  StatusOk);
        return Read(bitmap.get());
    };
    const double toDrawn =
        MeanDifference(shown, decoded(PictureFileForDpi(picture, dpi)), area, dpi);
    const double toEnlarged = MeanDifference(shown, decoded(*picture.File), area, dpi);
    std::printf("%s at %d DPI: %.2f from its set, %.2f from 1x enlarged\n", what, dpi, toDrawn,
                toEnlarged);
    EXPECT_LE(toDrawn, 0.5) << what;
    if (dpi > kDefaultDpi) {
        EXPECT_GT(toEnlarged, 2 * toDrawn + 1.0) << what;
    }
}

class DpiFixture : public ProgramFixture {
protected:
    // A window larger than the work area is fitted into it and no longer has the layout of
    // its DPI, so a case that needs the main window whole at `dpi` needs a screen to match.
    void SkipUnlessTheScreenHoldsTheMainWindowAt(int dpi) {
        RECT frame{0, 0, PixelsFromTwips(9735, dpi), PixelsFromTwips(7065, dpi)};
        AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(Form1(), GWL_STYLE)), FALSE, 0);
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        const SIZE needed{frame.right - frame.left, frame.bottom - frame.top};
        const SIZE room{area.right - area.left, area.bottom - area.top};
        if (needed.cx > room.cx || needed.cy > room.cy) {
            GTEST_SKIP() << "the main window at " << dpi << " DPI is " << needed.cx << " x "
                         << needed.cy << " px, the work area only " << room.cx << " x " << room.cy
                         << ": run on a larger screen";
        }
    }

    // Places, pictures and the list's rows, at `dpi`.
    void ExpectMainWindowLaidOutAt(int dpi) {
        const WindowClass& form1 = AvodevivuProgram().Classes[0];
        EXPECT_EQ(ClientSize(Form1()).cx, PixelsFromTwips(9735, dpi));
        EXPECT_EQ(ClientSize(Form1()).cy, PixelsFromTwips(7065, dpi));
        const RECT list = BoundsInForm(Form1(), Form1Control("List1"));
        EXPECT_EQ(list.left, PixelsFromTwips(840, dpi));
        EXPECT_EQ(list.bottom, PixelsFromTwips(3000, dpi) + PixelsFromTwips(3180, dpi));
        // The laptop, clear of every control.
        ExpectDrawnFromItsSet(Surface(Form1()), form1.Description.Picture, dpi, {40, 20, 190, 170},
                              "background");
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            const PictureDescription& face =
                form1.Description.Controls[form1.IndexOf(name)].Picture;
            const auto shown = reinterpret_cast<HBITMAP>(
                SendMessageW(Form1Control(name), BM_GETIMAGE, IMAGE_BITMAP, 0));
            ExpectDrawnFromItsSet(Read(shown), face, dpi, {0, 0, face.Width, face.Height}, name);
        }
        const HWND listWindow = Form1Control("List1");
        const ScreenDc screen;
        const ScopedSelection font(
            screen.Get(), reinterpret_cast<HFONT>(SendMessageW(listWindow, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Get(), &metrics);
        EXPECT_GE(SendMessageW(listWindow, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight);
    }

    void ExpectCaptionPulsates() {
        const PointSize start = Control(WindowName::Text, "Label1").FontSize();
        EXPECT_TRUE(PumpUntil(system, [&] {
            return Control(WindowName::Text, "Label1").FontSize() >= start + PointSize::Whole(3);
        }));
    }

    // As Windows reports a move to a monitor of `dpi`, suggesting the frame for the client
    // area. Wine draws every frame at the session's DPI, so the frame is measured at that.
    void ChangeDpi(HWND form, SIZE clientTwips, int dpi) {
        RECT frame{};
        GetWindowRect(form, &frame);
        RECT suggested{0, 0, PixelsFromTwips(clientTwips.cx, dpi),
                       PixelsFromTwips(clientTwips.cy, dpi)};
        AdjustWindowRectEx(&suggested, DWORD(GetWindowLongW(form, GWL_STYLE)), FALSE, 0);
        OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
        SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
    }
};

// At the prefix's DPI both windows open laid out for it.
class HighDpi : public DpiFixture {
protected:
    void SetUp() override {
        DpiFixture::SetUp();
        if (system.Dpi() == kDefaultDpi) GTEST_SKIP() << "run with LogPixels above 96";
        SkipUnlessTheScreenHoldsTheMainWindowAt(system.Dpi());
    }
};

TEST_F(HighDpi, MainWindowIsLaidOutForTheDpi) { ExpectMainWindowLaidOutAt(system.Dpi()); }

TEST_F(HighDpi, AboutWindowIsLaidOutForTheDpiAndItsCaptionPulsates) {
    OpenAbout();
    const int dpi = system.Dpi();
    EXPECT_EQ(ClientSize(About()).cx, PixelsFromTwips(8400, dpi));
    EXPECT_EQ(ClientSize(About()).cy, PixelsFromTwips(5235, dpi));
    // Europe and Asia, clear of the labels.
    ExpectDrawnFromItsSet(Surface(About()), AvodevivuProgram().Classes[1].Description.Picture, dpi,
                          {250, 20, 450, 130}, "map");
    ExpectCaptionPulsates();
}

// From 96 DPI, moves to monitors with other scales, as Windows reports them.
class DpiChange : public DpiFixture {
protected:
    void SetUp() override {
        DpiFixture::SetUp();
        if (system.Dpi() != kDefaultDpi) GTEST_SKIP() << "starts from 96 DPI";
        SkipUnlessTheScreenHoldsTheMainWindowAt(192);
    }
};

TEST_F(DpiChange, MainWindowIsLaidOutAgainAndBack) {
    for (const int dpi : {192, 144, 96}) {
        ChangeDpi(Form1(), {9735, 7065}, dpi);
        ExpectMainWindowLaidOutAt(dpi);
        EXPECT_EQ(Control(WindowName::Form1, "Label5").FontSize(), PointSize::Whole(18));
    }
}

TEST_F(DpiChange, CaptionKeepsItsPointsAndGoesOnPulsating) {
    OpenAbout();
    Control(WindowName::Text, "Timer1").SetEnabled(false);
    Control(WindowName::Text, "Timer2").SetEnabled(false);
    // 12 points are whole pixels at both DPIs, so the font reports them exactly.
    Control(WindowName::Text, "Label1").SetFontSize(PointSize::Whole(12));
    ChangeDpi(About(), {8400, 5235}, 192);
    EXPECT_EQ(ClientSize(About()).cx, 1120);
    EXPECT_EQ(Control(WindowName::Text, "Label1").FontSize(), PointSize::Whole(12));
    Control(WindowName::Text, "Timer1").SetEnabled(true);
    ExpectCaptionPulsates();
}

}  // namespace
}  // namespace avo::win32::testing
