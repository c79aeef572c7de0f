#include <oleacc.h>

#include <optional>
#include <utility>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"

// The output boxes are drawn on the main window's surface; screen readers find them through
// their own windows, which must neither change the look nor swallow clicks. The About
// window's exit picture is a static window that screen readers must take for a button.

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
    long Role = 0;
    std::string DefaultAction;
};

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// The object a screen reader gets for a window, asked for as screen readers ask.
ComPtr<IAccessible> ObjectOf(HWND window) {
    ComPtr<IAccessible> accessible;
    EXPECT_EQ(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(accessible.Put())),
              S_OK);
    return accessible;
}

// What a screen reader reads from a window. A value or an action that the object does not
// have reads as empty.
Reading ReadAloud(HWND window) {
    const ComPtr<IAccessible> accessible = ObjectOf(window);
    if (!accessible) return {};
    OwnedBstr name;
    OwnedBstr value;
    OwnedBstr action;
    VARIANT role{};
    EXPECT_EQ(accessible->get_accName(Self(), name.Put()), S_OK);
    accessible->get_accValue(Self(), value.Put());
    EXPECT_EQ(accessible->get_accRole(Self(), &role), S_OK);
    accessible->get_accDefaultAction(Self(), action.Put());
    return {Narrow(name.Text()), Narrow(value.Text()), role.vt == VT_I4 ? role.lVal : 0,
            Narrow(action.Text())};
}

struct OutputBox {
    const char* Control;
    const char* Heading;
};

constexpr OutputBox kBoxes[] = {{"Label1", "KISAYOL"}, {"Label3", "İŞLEVİ"}};

using OutputBoxes = ProgramFixture;

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

using ScreenReaders = ProgramFixture;

TEST_F(ScreenReaders, TakeTheExitPictureForAButtonThatPressingCloses) {
    OpenAbout();
    const HWND picture = ControlWindow(About(), WindowName::Text, "Picture1");
    const Reading reading = ReadAloud(picture);
    EXPECT_EQ(reading.Role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(reading.DefaultAction, "Bas");

    // Pressing through the screen reader is the picture's click: About unloads itself and
    // brings the main window back.
    const ComPtr<IAccessible> accessible = ObjectOf(picture);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->accDoDefaultAction(Self()), S_OK);
    Pump();
    EXPECT_EQ(About(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Form1()));
    // The object outlives its window and says so instead of acting on a stale handle.
    EXPECT_EQ(accessible->accDoDefaultAction(Self()), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace avo::win32::testing
