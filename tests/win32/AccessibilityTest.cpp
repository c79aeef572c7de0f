#include <oleacc.h>

#include <optional>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"

// The output boxes are drawn on the main window's surface; screen readers find them through
// their own windows, which must neither change the look nor swallow clicks.

namespace avo::win32::testing {
namespace {

// A string that oleacc handed over, freed when the owner dies.
class OwnedBstr {
public:
    OwnedBstr() = default;
    ~OwnedBstr() { SysFreeString(text_); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    BSTR* Put() { return &text_; }
    std::wstring Text() const { return text_ ? std::wstring(text_, SysStringLen(text_)) : L""; }

private:
    BSTR text_ = nullptr;
};

struct Reading {
    std::string Name;
    std::string Value;
};

// What a screen reader reads from a window, asking as screen readers do.
Reading ReadAloud(HWND window) {
    ComPtr<IAccessible> accessible;
    EXPECT_EQ(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(accessible.Put())),
              S_OK);
    if (!accessible) return {};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    OwnedBstr name;
    OwnedBstr value;
    EXPECT_EQ(accessible->get_accName(self, name.Put()), S_OK);
    EXPECT_EQ(accessible->get_accValue(self, value.Put()), S_OK);
    return {Narrow(name.Text()), Narrow(value.Text())};
}

struct OutputBox {
    const char* Control;
    const char* Heading;
};

constexpr OutputBox kBoxes[] = {{"Label1", "KISAYOL"}, {"Label3", "İŞLEVİ"}};

using OutputBoxes = ProgramFixture;

TEST_F(OutputBoxes, AreReadAloudByTheirHeadingsWithTheTextTheyShow) {
    for (const int row : {0, 5}) {
        ShowRow(row);
        Pump();
        for (const OutputBox& box : kBoxes) {
            const std::string shown = Form1Text(box.Control);
            ASSERT_FALSE(shown.empty()) << box.Control;
            const Reading reading = ReadAloud(Form1Control(box.Control));
            EXPECT_EQ(reading.Name, box.Heading);
            EXPECT_EQ(reading.Value, shown) << box.Control << ", row " << row;
        }
    }
}

TEST_F(OutputBoxes, ReadAloudAsEmptyBeforeAnyRowIsShown) {
    for (const OutputBox& box : kBoxes) {
        const Reading reading = ReadAloud(Form1Control(box.Control));
        EXPECT_EQ(reading.Name, box.Heading);
        EXPECT_EQ(reading.Value, "");
    }
}

// The whole client area as the form draws its surface, labels included, with no child window.
class SurfaceImage {
public:
    explicit SurfaceImage(HWND form) {
        GetClientRect(form, &client_);
        const ScreenDc screen;
        memory_.reset(CreateCompatibleDC(screen.Get()));
        canvas_.reset(CreateCompatibleBitmap(screen.Get(), client_.right, client_.bottom));
        selection_.emplace(memory_.get(), canvas_.get());
        SendMessageW(form, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory_.get()), PRF_CLIENT);
    }
    COLORREF At(int x, int y) const { return GetPixel(memory_.get(), x, y); }

private:
    RECT client_{};
    UniqueMemoryDc memory_;
    UniqueBitmap canvas_;
    std::optional<ScopedSelection> selection_;
};

// The form's client area as it is on screen, child windows included.
class ScreenImage {
public:
    explicit ScreenImage(HWND form) : form_(form), dc_(GetDCEx(form, nullptr, DCX_CACHE)) {}
    ~ScreenImage() { ReleaseDC(form_, dc_); }
    ScreenImage(const ScreenImage&) = delete;
    ScreenImage& operator=(const ScreenImage&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HWND form_;
    HDC dc_;
};

RECT BoundsInForm(HWND form, HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// Every pixel of each box on screen is the one the surface has there: the windows change
// nothing that can be seen.
TEST_F(OutputBoxes, LookExactlyAsTheSurfaceDrawsThem) {
    ShowRow(3);
    Pump();
    RedrawWindow(Form1(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const SurfaceImage surface(Form1());
    const ScreenImage screen(Form1());
    for (const OutputBox& box : kBoxes) {
        const RECT bounds = BoundsInForm(Form1(), Form1Control(box.Control));
        int differing = 0;
        for (int y = bounds.top; y < bounds.bottom; ++y) {
            for (int x = bounds.left; x < bounds.right; ++x) {
                differing += screen.At(x, y) != surface.At(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << box.Control;
    }
}

}  // namespace
}  // namespace avo::win32::testing
