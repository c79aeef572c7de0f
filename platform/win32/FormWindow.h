#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"
#include "platform/win32/Handles.h"
#include "platform/win32/PictureDecoder.h"

namespace avo::win32 {

inline constexpr wchar_t kFormClassName[] = L"Avodevivu.Form";

// Child windows and timers are numbered by their place in the description, from here up,
// clear of the ids that Windows gives a meaning (IDOK, IDCANCEL).
inline constexpr int kFirstControlId = 100;
constexpr int ControlId(ControlIndex index) { return kFirstControlId + static_cast<int>(index); }

// What every form of the process shares.
struct FormWindowContext {
    HINSTANCE Instance;
    int Dpi;  // the session's; a form takes its monitor's where Windows tells it
    PictureDecoder& Pictures;
};

// One loaded window: a top-level window whose labels are drawn on its own surface, child
// windows for the list, the buttons, the picture box and the labels that screen readers
// know by a heading, and the timers.
//
// The window procedure keeps its form alive while it handles a message, and the HWND keeps it
// alive until WM_NCDESTROY. So Destroy can be called from inside one of the form's own events:
// it stops everything at once and leaves freeing the HWND to a posted message.
//
// Its members live in six files: FormWindow.cpp (creation, lifetime, the window procedure),
// FormWindowChildren.cpp (the controls' windows and tips), FormWindowDpi.cpp (a new DPI),
// FormWindowControls.cpp (the operations the program calls), FormWindowPaint.cpp and
// FormWindowInput.cpp.
class FormWindow : public std::enable_shared_from_this<FormWindow> {
public:
    static Status Create(const WindowDescription& description, EventSink& sink,
                         const FormWindowContext& context, std::shared_ptr<FormWindow>& form);
    // The forms' window class, registered by the first call in the process, however many
    // window systems a test creates; 0 when it could not be registered.
    static ATOM WindowClass(HINSTANCE instance);
    // True for a form's top-level window, false for any other window and for null.
    static bool IsForm(HWND window);

    FormWindow(const WindowDescription& description, EventSink& sink,
               const FormWindowContext& context);
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const { return window_; }
    int Dpi() const { return dpi_; }
    // The form that owns a top-level window, or null for any other window.
    static FormWindow* FromHandle(HWND window);

    Status Show();
    Status Destroy();
    Status SetText(ControlIndex index, std::string_view text);
    Status GetText(ControlIndex index, std::string& text) const;
    Status IsRowSelected(ControlIndex index, int row, bool& selected) const;
    Status GetFontSize(ControlIndex index, PointSize& size) const;
    Status SetFontSize(ControlIndex index, PointSize size);
    Status GetTimerEnabled(ControlIndex index, bool& enabled) const;
    Status SetTimerEnabled(ControlIndex index, bool enabled);
    // The keys the program decides (Keyboard.h), typed on this form; false for any other
    // key, which the focused control handles itself.
    bool OnKey(Key key);

private:
    struct Control {
        const ControlDescription* Description;
        RECT Bounds;            // pixels, in the form's client area
        HWND Window = nullptr;  // null for timers and for labels drawn only on the surface
        std::wstring Text;      // labels
        UniqueFont Font;
        PointSize Points;  // the font's size as last asked for, kept when the DPI changes
        UniqueBitmap Picture;
        UniqueBrush Background;  // list boxes
        bool TimerRunning = false;
    };

    // Creation, lifetime and the window procedure (FormWindow.cpp, FormWindowChildren.cpp,
    // FormWindowDpi.cpp).
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    static ATOM RegisterWindowClass(HINSTANCE instance);
    static LOGFONTW DefaultFont(int dpi);
    Status Build();
    Status PrepareControl(Control& control);
    Status DecodePicture(const PictureDescription& picture, UniqueBitmap& bitmap);
    Status CreateMainWindow();
    DWORD WindowStyle() const;
    SIZE FrameSize(int dpi) const;
    void OnDpiChanged(int dpi, const RECT& suggested);
    void ApplyDpi(int dpi);
    void ApplyDpi(Control& control);
    std::vector<ControlIndex> CreationOrder() const;
    Status CreateChildWindows();
    Status CreateChildWindow(ControlIndex index);
    void CreateToolTips();
    void CreateToolTip(const Control& control);
    void LoadIcons();
    Status StartEnabledTimers();
    void StopTimers();
    void ReleaseWindow();
    RECT PixelRect(const TwipsRect& bounds) const;

    // Painting (FormWindowPaint.cpp).
    void Paint();
    void PaintSurfacePart(HDC dc, const RECT& area, POINT at) const;
    void PaintOffScreen(HDC dc, const RECT& area, POINT at,
                        const std::function<void(HDC)>& draw) const;
    bool CoversItsSurface(ControlIndex label) const;
    void PaintSurface(HDC dc) const;
    void InvalidateLabel(const Control& label) const;
    void DrawLabel(HDC dc, const Control& label) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void DrawPictureBox(const DRAWITEMSTRUCT& item, const Control& control) const;
    LRESULT ListColours(HDC dc, HWND list) const;

    // Input (FormWindowInput.cpp).
    std::optional<ControlIndex> LabelAt(POINT point) const;
    void OnMouseDown(POINT point);
    void OnMouseUp(POINT point);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnTimer(WPARAM timerId);
    void OnActivate(WPARAM wParam);
    std::optional<ControlIndex> FocusedControl() const;
    void Report(ControlIndex index, Event event);

    const WindowDescription& description_;
    EventSink* sink_;  // null once destroyed: no more events
    FormWindowContext context_;
    int dpi_;  // the DPI of the monitor the form is on
    HWND window_ = nullptr;
    HWND toolTip_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::shared_ptr<FormWindow> self_;  // the HWND's reference, released at WM_NCDESTROY
    std::vector<Control> controls_;
    LOGFONTW defaultFont_{};
    UniqueBitmap picture_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    std::optional<ControlIndex> pressedLabel_;
    int messageDepth_ = 0;
    bool painted_ = false;  // the tips are made after the first paint
    bool destroyed_ = false;
};

}  // namespace avo::win32
