#include "platform/win32/FormWindow.h"

#include <utility>

#include "platform/Placement.h"
#include "platform/WindowDefaults.h"
#include "platform/win32/DeviceUnits.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Foreground.h"
#include "platform/win32/GdiConversions.h"
#include "platform/win32/Resources.h"
#include "platform/win32/WideText.h"

// Creating the window, its lifetime and the window procedure. The child windows, the move to
// another DPI, painting, input and the control operations have files of their own.

namespace avo::win32 {
namespace {

// Posted to a form that was destroyed while one of its own messages was being handled.
constexpr UINT kDestroyLaterMessage = WM_APP + 1;
// Posted after a form's first paint: its tips wait until it is on the screen.
constexpr UINT kCreateToolTipsMessage = WM_APP + 2;
// Windows 10 1703 asks a per-monitor v2 window the size it wants at a new DPI.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

avo::PixelRect ToPixelRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The program's other forms, as placement sees them (frames included).
BOOL CALLBACK AddPlacementCandidate(HWND window, LPARAM candidates) {
    if (!FormWindow::IsForm(window)) return TRUE;
    RECT frame{};
    GetWindowRect(window, &frame);
    reinterpret_cast<std::vector<PlacementCandidate>*>(candidates)
        ->push_back({ToPixelRect(frame), window == GetActiveWindow(),
                     IsWindowVisible(window) && !IsIconic(window)});
    return TRUE;
}

POINT StartPosition(StartUpPosition position, SIZE size) {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    std::vector<PlacementCandidate> others;
    EnumThreadWindows(GetCurrentThreadId(), AddPlacementCandidate,
                      reinterpret_cast<LPARAM>(&others));
    const std::optional<std::size_t> owner = ChooseOwner(others);
    const avo::PixelRect placed =
        InitialPlacement(position, size.cx, size.cy, ToPixelRect(area),
                         owner ? std::optional(others[*owner].Frame) : std::nullopt);
    return {placed.Left, placed.Top};
}

// A form is laid out at the DPI of the monitor that will hold its centre.
int DpiWhereFormOpens(StartUpPosition position, int fallback) {
    return DpiOfMonitorAt(StartPosition(position, {0, 0}), fallback);
}

POINT PointFrom(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

// Controls that name no font get the one the windows were laid out with: MS Sans Serif at
// 8.25 points (Windows maps the name to Microsoft Sans Serif where the old font is gone).
// Turkish, as the other fonts: on a Western system the face otherwise resolves to a
// code-page-1252 bitmap font that has no "ı", "ş" or "ğ".
LOGFONTW FormWindow::DefaultFont(int dpi) { return LogFontFor(kDefaultWindowFont, dpi); }

ATOM FormWindow::WindowClass(HINSTANCE instance) {
    static const ATOM atom = RegisterWindowClass(instance);
    return atom;
}

bool FormWindow::IsForm(HWND window) {
    const ATOM atom = WindowClass(GetModuleHandleW(nullptr));
    return window && atom && GetClassLongPtrW(window, GCW_ATOM) == atom;
}

ATOM FormWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFormClassName;
    // No class background and no class icon: each form paints its own surface and sets the
    // icon its description asks for.
    return RegisterClassExW(&windowClass);
}

Status FormWindow::Create(const WindowDescription& description, EventSink& sink,
                          const FormWindowContext& context, std::shared_ptr<FormWindow>& form) {
    auto created = std::make_shared<FormWindow>(description, sink, context);
    if (Status status = created->Build(); Failed(status)) {
        created->Destroy();
        return status;
    }
    form = std::move(created);
    return StatusOk;
}

FormWindow::FormWindow(const WindowDescription& description, EventSink& sink,
                       const FormWindowContext& context)
    : description_(description),
      sink_(&sink),
      context_(context),
      dpi_(DpiWhereFormOpens(description.Position, context.Dpi)),
      defaultFont_(DefaultFont(dpi_)) {}

Status FormWindow::Build() {
    controls_.reserve(description_.Controls.size());
    for (const ControlDescription& description : description_.Controls) {
        controls_.push_back({&description, PixelRect(description.Bounds)});
        if (Status status = PrepareControl(controls_.back()); Failed(status)) return status;
    }
    if (description_.Picture) {
        if (Status status = DecodePicture(description_.Picture, picture_); Failed(status)) {
            return status;
        }
    }
    if (Status status = CreateMainWindow(); Failed(status)) return status;
    if (Status status = CreateChildWindows(); Failed(status)) return status;
    return StartEnabledTimers();
}

Status FormWindow::PrepareControl(Control& control) {
    const ControlDescription& description = *control.Description;
    if (description.Kind == ControlKind::Timer) return StatusOk;
    control.Text = Widen(description.Text);
    const LOGFONTW logFont = description.Font ? LogFontFor(*description.Font, dpi_) : defaultFont_;
    control.Points = description.Font ? description.Font->Size
                                      : PointsFromPixels(std::abs(logFont.lfHeight), dpi_);
    control.Font.reset(CreateFontIndirectW(&logFont));
    if (!control.Font) return StatusOutOfMemory;
    if (description.Picture) {
        if (Status status = DecodePicture(description.Picture, control.Picture); Failed(status)) {
            return status;
        }
    }
    if (description.Kind == ControlKind::ListBox) {
        control.Background.reset(CreateSolidBrush(ColourRef(description.BackColour)));
        if (!control.Background) return StatusOutOfMemory;
    }
    return StatusOk;
}

// At 96 DPI the 1x picture at its natural size; above it the 2x picture, at its natural size
// at 192 DPI and scaled smoothly to the DPI's size elsewhere.
Status FormWindow::DecodePicture(const PictureDescription& picture, UniqueBitmap& bitmap) {
    return context_.Pictures.Decode(PictureFileForDpi(picture, dpi_),
                                    PixelsFromPicturePixels(picture.Width, dpi_),
                                    PixelsFromPicturePixels(picture.Height, dpi_), bitmap);
}

// The frame HasTitleBar describes: a caption with the system menu and a minimise box, no
// sizing frame and no maximise box.
DWORD FormWindow::WindowStyle() const {
    const bool titled = HasTitleBar(description_.Border);
    return (titled ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX : WS_POPUP) |
           WS_CLIPCHILDREN;
}

SIZE FormWindow::FrameSize(int dpi) const {
    const SIZE client{PixelsFromTwips(description_.ClientWidth, dpi),
                      PixelsFromTwips(description_.ClientHeight, dpi)};
    return FrameSizeForDpi(client, WindowStyle(), 0, dpi);
}

Status FormWindow::CreateMainWindow() {
    const DWORD style = WindowStyle();
    const SIZE size = FrameSize(dpi_);
    const POINT origin = StartPosition(description_.Position, size);
    const std::wstring caption = Widen(description_.Caption);
    // WM_NCCREATE attaches the window to this form (see WindowProcedure).
    if (!CreateWindowExW(0, kFormClassName, caption.c_str(), style, origin.x, origin.y, size.cx,
                         size.cy, nullptr, nullptr, context_.Instance, this)) {
        return StatusFromSystemError(GetLastError());
    }
    return StatusOk;
}

void FormWindow::LoadIcons() {
    if (!description_.Icon) return;
    // The program's icon resource carries every size; Windows picks the best for each use.
    const auto load = [this](int widthMetric, int heightMetric) {
        return UniqueIcon(static_cast<HICON>(
            LoadImageW(context_.Instance, MAKEINTRESOURCEW(AVO_ICON_RESOURCE), IMAGE_ICON,
                       GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0)));
    };
    bigIcon_ = load(SM_CXICON, SM_CYICON);
    smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

Status FormWindow::StartEnabledTimers() {
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        const ControlDescription& description = *controls_[i].Description;
        if (description.Kind == ControlKind::Timer && description.Enabled) {
            if (Status status = SetTimerEnabled(i, true); Failed(status)) return status;
        }
    }
    return StatusOk;
}

void FormWindow::StopTimers() {
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        if (controls_[i].TimerRunning && window_) KillTimer(window_, ControlId(i));
        controls_[i].TimerRunning = false;
    }
}

RECT FormWindow::PixelRect(const TwipsRect& bounds) const {
    const int dpi = dpi_;
    const int left = PixelsFromTwips(bounds.Left, dpi);
    const int top = PixelsFromTwips(bounds.Top, dpi);
    return {left, top, left + PixelsFromTwips(bounds.Width, dpi),
            top + PixelsFromTwips(bounds.Height, dpi)};
}

FormWindow* FormWindow::FromHandle(HWND window) {
    return IsForm(window) ? reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))
                          : nullptr;
}

Status FormWindow::Show() {
    if (destroyed_) return StatusNotLoaded;
    BringToFront(window_);
    return StatusOk;
}

// Unloading takes effect at once: hidden, timers stopped, no more events. The HWND goes now,
// or, when one of the form's own messages is on the stack, as soon as that has returned.
Status FormWindow::Destroy() {
    if (destroyed_) return StatusOk;
    destroyed_ = true;
    sink_ = nullptr;
    StopTimers();
    if (window_) {
        ShowWindow(window_, SW_HIDE);
        if (messageDepth_ > 0) {
            PostMessageW(window_, kDestroyLaterMessage, 0, 0);
        } else {
            DestroyWindow(window_);
        }
    }
    return StatusOk;
}

LRESULT CALLBACK FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_ = window;
        form->self_ = form->shared_from_this();
        // Before the window is placed, so that a window manager that takes the icons from
        // the window system (Wine's X11 driver) reads them once, not once per icon.
        form->LoadIcons();
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    // A handler may drop the program's last reference to this form; it lives until here.
    const std::shared_ptr<FormWindow> keepAlive = form->shared_from_this();
    ++form->messageDepth_;
    const LRESULT result = form->HandleMessage(window, message, wParam, lParam);
    --form->messageDepth_;
    return result;
}

LRESULT FormWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
        case WM_PAINT:
            Paint();
            if (!std::exchange(painted_, true)) PostMessageW(window, kCreateToolTipsMessage, 0, 0);
            return 0;
        case kCreateToolTipsMessage:
            if (!destroyed_) CreateToolTips();
            return 0;
        case WM_PRINTCLIENT: PaintSurface(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_LBUTTONDOWN: OnMouseDown(PointFrom(lParam)); return 0;
        case WM_LBUTTONUP: OnMouseUp(PointFrom(lParam)); return 0;
        case WM_CAPTURECHANGED: pressedLabel_.reset(); return 0;
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_CTLCOLORLISTBOX:
            if (LRESULT brush =
                    ListColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return brush;
            }
            break;
        case WM_DRAWITEM: DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_ACTIVATE: OnActivate(wParam); return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kGetDpiScaledSize:
            *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
            return TRUE;
        // The close box and Alt+F4 go to the program, which unloads through Destroy.
        case WM_CLOSE:
            if (sink_) sink_->OnCloseCommand();
            return 0;
        case kDestroyLaterMessage: DestroyWindow(window); return 0;
        case WM_NCDESTROY: ReleaseWindow(); break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FormWindow::ReleaseWindow() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    destroyed_ = true;
    sink_ = nullptr;
    for (Control& control : controls_) {
        control.Window = nullptr;
        control.TimerRunning = false;
    }
    window_ = nullptr;
    toolTip_ = nullptr;
    lastFocus_ = nullptr;
    self_.reset();  // the window procedure still holds the form until it returns
}

}  // namespace avo::win32
