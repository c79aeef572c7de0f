#include "platform/win32/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

#include "platform/WindowDefaults.h"
#include "platform/win32/DeviceUnits.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Foreground.h"
#include "platform/win32/ScreenReaderObjects.h"
#include "platform/win32/Resources.h"
#include "platform/win32/WideText.h"

namespace avo::win32 {
namespace {

// Posted to a form that was destroyed while one of its own messages was being handled.
constexpr UINT kDestroyLaterMessage = WM_APP + 1;
// Windows 10 1703 asks a per-monitor v2 window the size it wants at a new DPI.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

COLORREF ColourRef(Colour colour) {
    return IsSystemColour(colour) ? GetSysColor(colour & 0xFF) : static_cast<COLORREF>(colour);
}

// Labels are drawn on the form's surface. The ones screen readers must find (the output
// boxes, known by their headings) also get a window, since screen readers only see windows.
bool IsWindowed(const ControlDescription& control) {
    switch (control.Kind) {
        case ControlKind::ListBox:
        case ControlKind::PictureButton:
        case ControlKind::PictureBox: return true;
        case ControlKind::Label: return NeedsScreenReaderObject(control);
        case ControlKind::Timer: return false;
    }
    return false;
}

// GDI reads a height of 0 as "the default size", so no font gets less than a pixel.
LONG FontHeight(PointSize size, int dpi) { return -std::max(1, PixelsFromPoints(size, dpi)); }

LOGFONTW LogFontFor(const FontDescriptor& font, int dpi) {
    LOGFONTW logFont{};
    logFont.lfHeight = FontHeight(font.Size, dpi);
    logFont.lfWeight = font.Weight;
    logFont.lfItalic = font.Italic;
    logFont.lfUnderline = font.Underline;
    logFont.lfStrikeOut = font.Strikethrough;
    logFont.lfCharSet = static_cast<BYTE>(font.Charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = Widen(font.Face);
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return logFont;
}

// Controls that name no font get the one the windows were laid out with: MS Sans Serif at
// 8.25 points (Windows maps the name to Microsoft Sans Serif where the old font is gone).
// Turkish, as the other fonts: on a Western system the face otherwise resolves to a
// code-page-1252 bitmap font that has no "ı", "ş" or "ğ".
LOGFONTW DefaultFont(int dpi) {
    return LogFontFor(kDefaultWindowFont, dpi);
}

bool IsFormWindow(HWND window) {
    wchar_t className[std::size(kFormClassName)] = {};
    return window && GetClassNameW(window, className, static_cast<int>(std::size(className))) &&
           std::wcscmp(className, kFormClassName) == 0;
}

bool IsVisibleForm(HWND window) {
    return IsFormWindow(window) && IsWindowVisible(window) && !IsIconic(window);
}

BOOL CALLBACK FindVisibleForm(HWND window, LPARAM found) {
    if (!IsVisibleForm(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The window that a window centred on its owner opens over: the program's active window,
// or else any of its windows on the screen; null when none is.
HWND OwnerWindow() {
    const HWND active = GetActiveWindow();
    if (IsVisibleForm(active)) return active;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindVisibleForm, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Centred on the owner when the description asks for that and the owner is on the screen,
// else centred on the screen's work area.
POINT StartPosition(StartUpPosition position, SIZE size) {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const HWND owner = position == StartUpPosition::CentreOwner ? OwnerWindow() : nullptr;
    if (owner) GetWindowRect(owner, &area);
    return {(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2};
}

// A form is laid out at the DPI of the monitor that will hold its centre.
int DpiWhereFormOpens(StartUpPosition position, int fallback) {
    return DpiOfMonitorAt(StartPosition(position, {0, 0}), fallback);
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return;
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    const ScopedSelection selection(source.get(), bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

POINT PointFrom(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

UINT AlignmentFlag(Alignment alignment) {
    switch (alignment) {
        case Alignment::Left: return DT_LEFT;
        case Alignment::Centre: return DT_CENTER;
        case Alignment::Right: return DT_RIGHT;
    }
    return DT_LEFT;
}

// Moves where a DC draws logical (0, 0) for as long as the owner lives.
class ScopedViewportOrigin {
public:
    ScopedViewportOrigin(HDC dc, POINT origin) : dc_(dc) {
        SetViewportOrgEx(dc, origin.x, origin.y, &previous_);
    }
    ~ScopedViewportOrigin() { SetViewportOrgEx(dc_, previous_.x, previous_.y, nullptr); }
    ScopedViewportOrigin(const ScopedViewportOrigin&) = delete;
    ScopedViewportOrigin& operator=(const ScopedViewportOrigin&) = delete;

private:
    HDC dc_;
    POINT previous_{};
};

// BeginPaint and EndPaint as one owner.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Dirty() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace

ATOM Form::RegisterWindowClass(HINSTANCE instance) {
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

Status Form::Create(const WindowDescription& description, EventSink& sink,
                    const FormContext& context, std::shared_ptr<Form>& form) {
    auto created = std::make_shared<Form>(description, sink, context);
    if (Status status = created->Build(); Failed(status)) {
        created->Destroy();
        return status;
    }
    form = std::move(created);
    return StatusOk;
}

Form::Form(const WindowDescription& description, EventSink& sink, const FormContext& context)
    : description_(description),
      sink_(&sink),
      context_(context),
      dpi_(DpiWhereFormOpens(description.Position, context.Dpi)),
      defaultFont_(DefaultFont(dpi_)) {}

Status Form::Build() {
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
    LoadIcons();
    return StartEnabledTimers();
}

Status Form::PrepareControl(Control& control) {
    const ControlDescription& description = *control.Description;
    if (description.Kind == ControlKind::Timer) return StatusOk;
    control.Text = Widen(description.Text);
    const LOGFONTW logFont =
        description.Font ? LogFontFor(*description.Font, dpi_) : defaultFont_;
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
Status Form::DecodePicture(const PictureDescription& picture, UniqueBitmap& bitmap) {
    return context_.Pictures.Decode(PictureFileForDpi(picture, dpi_),
                                    PixelsFromPicturePixels(picture.Width, dpi_),
                                    PixelsFromPicturePixels(picture.Height, dpi_), bitmap);
}

// A fixed single border: a caption with the system menu and a minimise box, no sizing frame
// and no maximise box.
DWORD Form::WindowStyle() const {
    const bool framed = description_.Border == BorderStyle::FixedSingle;
    return (framed ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX : WS_POPUP) |
           WS_CLIPCHILDREN;
}

SIZE Form::FrameSize(int dpi) const {
    const SIZE client{PixelsFromTwips(description_.ClientWidth, dpi),
                      PixelsFromTwips(description_.ClientHeight, dpi)};
    return FrameSizeForDpi(client, WindowStyle(), 0, dpi);
}

Status Form::CreateMainWindow() {
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

std::vector<ControlIndex> Form::TabOrder() const {
    std::vector<ControlIndex> order;
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        if (IsWindowed(*controls_[i].Description)) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [this](ControlIndex a, ControlIndex b) {
        return controls_[a].Description->TabIndex < controls_[b].Description->TabIndex;
    });
    return order;
}

// Created in tab order: Tab and Shift+Tab follow the order of creation.
Status Form::CreateChildWindows() {
    for (const ControlIndex index : TabOrder()) {
        if (Status status = CreateChildWindow(index); Failed(status)) return status;
    }
    return StatusOk;
}

Status Form::CreateChildWindow(ControlIndex index) {
    Control& control = controls_[index];
    const ControlDescription& description = *control.Description;
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (description.Kind) {
        case ControlKind::ListBox:
            className = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PictureButton:
            // An ordinary push button, never the default one: Enter presses nothing.
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP;
            break;
        case ControlKind::Label:
            // Without SS_NOTIFY a static window is transparent to the mouse, so a click on it
            // reaches the form, which hit-tests its labels as before.
            style |= SS_OWNERDRAW | SS_NOPREFIX;
            break;
        default:
            // A picture box is a button that draws only its picture: like any button it takes
            // the focus, and it clicks on a release over it or on Space.
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_OWNERDRAW;
            break;
    }
    // The window text is what screen readers say: a picture button's face shows only its
    // picture, and a label's window holds the text it shows.
    const std::wstring text = description.Kind == ControlKind::Label
                                  ? control.Text
                                  : Widen(description.AccessibleName);
    const RECT& r = control.Bounds;
    control.Window = CreateWindowExW(
        exStyle, className, text.c_str(), style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))),
        context_.Instance, nullptr);
    if (!control.Window) return StatusFromSystemError(GetLastError());

    SendMessageW(control.Window, WM_SETFONT, reinterpret_cast<WPARAM>(control.Font.get()), FALSE);
    for (const std::string_view row : description.Rows) {
        SendMessageW(control.Window, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(row).c_str()));
    }
    if (description.Kind == ControlKind::PictureButton && control.Picture) {
        SendMessageW(control.Window, BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(control.Picture.get()));
    }
    if (!description.ToolTip.empty()) CreateToolTip(control);
    if (NeedsScreenReaderObject(description) &&
        !ExposeToScreenReaders(control.Window, description)) {
        return StatusFromSystemError(GetLastError());
    }
    return StatusOk;
}

void Form::CreateToolTip(const Control& control) {
    if (!toolTip_) {
        // Owned by the form, so it goes when the form goes.
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   context_.Instance, nullptr);
        if (!toolTip_) return;  // a missing tip is no reason to keep the window closed
    }
    std::wstring text = Widen(control.Description->ToolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control.Window);
    tool.lpszText = text.data();  // the tooltip keeps its own copy
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form::LoadIcons() {
    if (!description_.Icon) return;
    // The program's icon resource carries every size; Windows picks the best for each use.
    const auto load = [this](int widthMetric, int heightMetric) {
        return UniqueIcon(static_cast<HICON>(LoadImageW(
            context_.Instance, MAKEINTRESOURCEW(AVO_ICON_RESOURCE), IMAGE_ICON,
            GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0)));
    };
    bigIcon_ = load(SM_CXICON, SM_CYICON);
    smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

Status Form::StartEnabledTimers() {
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        const ControlDescription& description = *controls_[i].Description;
        if (description.Kind == ControlKind::Timer && description.Enabled) {
            if (Status status = SetTimerEnabled(i, true); Failed(status)) return status;
        }
    }
    return StatusOk;
}

void Form::StopTimers() {
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        if (controls_[i].TimerRunning && window_) KillTimer(window_, ControlId(i));
        controls_[i].TimerRunning = false;
    }
}

RECT Form::PixelRect(const TwipsRect& bounds) const {
    const int dpi = dpi_;
    const int left = PixelsFromTwips(bounds.Left, dpi);
    const int top = PixelsFromTwips(bounds.Top, dpi);
    return {left, top, left + PixelsFromTwips(bounds.Width, dpi),
            top + PixelsFromTwips(bounds.Height, dpi)};
}

Form* Form::FromHandle(HWND window) {
    return IsFormWindow(window)
               ? reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA))
               : nullptr;
}

HFONT Form::FontOf(ControlIndex index) const {
    return index < controls_.size() ? controls_[index].Font.get() : nullptr;
}

Status Form::Show() {
    if (destroyed_) return StatusNotLoaded;
    BringToFront(window_);
    return StatusOk;
}

// Unloading takes effect at once: hidden, timers stopped, no more events. The HWND goes now,
// or, when one of the form's own messages is on the stack, as soon as that has returned.
Status Form::Destroy() {
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

Status Form::CheckControl(ControlIndex index) const {
    if (destroyed_) return StatusNotLoaded;
    if (index >= controls_.size()) return StatusInvalidArgument;
    return StatusOk;
}

Status Form::CheckControl(ControlIndex index, ControlKind kind) const {
    if (Status status = CheckControl(index); Failed(status)) return status;
    return controls_[index].Description->Kind == kind ? StatusOk : StatusWrongKind;
}

Status Form::SetText(ControlIndex index, std::string_view text) {
    if (Status status = CheckControl(index, ControlKind::Label); Failed(status)) return status;
    Control& label = controls_[index];
    label.Text = Widen(text);
    if (label.Window) {
        SetWindowTextW(label.Window, label.Text.c_str());
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, label.Window, OBJID_CLIENT, CHILDID_SELF);
    }
    InvalidateLabel(label);
    return StatusOk;
}

Status Form::GetText(ControlIndex index, std::string& text) const {
    if (Status status = CheckControl(index); Failed(status)) return status;
    const Control& control = controls_[index];
    switch (control.Description->Kind) {
        case ControlKind::Timer: return StatusWrongKind;
        case ControlKind::Label: text = Narrow(control.Text); return StatusOk;
        case ControlKind::ListBox: break;
        default: text = std::string(control.Description->Text); return StatusOk;
    }
    // A list's text is its selected row; empty when none is selected.
    const LRESULT row = SendMessageW(control.Window, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) {
        text.clear();
        return StatusOk;
    }
    std::wstring wide(static_cast<std::size_t>(SendMessageW(control.Window, LB_GETTEXTLEN, row, 0)),
                      L'\0');
    SendMessageW(control.Window, LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide.data()));
    text = Narrow(wide.c_str());
    return StatusOk;
}

Status Form::IsRowSelected(ControlIndex index, int row, bool& selected) const {
    if (Status status = CheckControl(index, ControlKind::ListBox); Failed(status)) return status;
    const LRESULT state = SendMessageW(controls_[index].Window, LB_GETSEL, row, 0);
    if (state == LB_ERR) return StatusInvalidArgument;
    selected = state > 0;
    return StatusOk;
}

// Read back from the font in use, so that the caller sees the size GDI really gives.
Status Form::GetFontSize(ControlIndex index, PointSize& size) const {
    if (Status status = CheckControl(index); Failed(status)) return status;
    const Control& control = controls_[index];
    LOGFONTW logFont{};
    if (!control.Font || !GetObjectW(control.Font.get(), sizeof logFont, &logFont)) {
        return StatusWrongKind;
    }
    size = PointsFromPixels(std::abs(logFont.lfHeight), dpi_);
    return StatusOk;
}

Status Form::SetFontSize(ControlIndex index, PointSize size) {
    if (Status status = CheckControl(index); Failed(status)) return status;
    Control& control = controls_[index];
    LOGFONTW logFont{};
    if (!control.Font || !GetObjectW(control.Font.get(), sizeof logFont, &logFont)) {
        return StatusWrongKind;
    }
    if (size <= PointSize()) return StatusInvalidArgument;
    logFont.lfHeight = FontHeight(size, dpi_);
    // The new font is in use before the old one is deleted, so no control ever holds a
    // deleted font, and exactly one font per control exists between writes.
    UniqueFont font(CreateFontIndirectW(&logFont));
    if (!font) return StatusOutOfMemory;
    if (control.Window) {
        SendMessageW(control.Window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    control.Font = std::move(font);
    control.Points = size;
    if (control.Description->Kind == ControlKind::Label) InvalidateLabel(control);
    return StatusOk;
}

Status Form::GetTimerEnabled(ControlIndex index, bool& enabled) const {
    if (Status status = CheckControl(index, ControlKind::Timer); Failed(status)) return status;
    enabled = controls_[index].TimerRunning;
    return StatusOk;
}

// Enabling a stopped timer starts a fresh interval; enabling a running one changes nothing.
Status Form::SetTimerEnabled(ControlIndex index, bool enabled) {
    if (Status status = CheckControl(index, ControlKind::Timer); Failed(status)) return status;
    Control& timer = controls_[index];
    if (enabled == timer.TimerRunning) return StatusOk;
    if (enabled) {
        const UINT interval = static_cast<UINT>(std::max(1, timer.Description->IntervalMs));
        if (!SetTimer(window_, ControlId(index), interval, nullptr)) {
            return StatusFromSystemError(GetLastError());
        }
    } else {
        KillTimer(window_, ControlId(index));
    }
    timer.TimerRunning = enabled;
    return StatusOk;
}

LRESULT CALLBACK Form::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_ = window;
        form->self_ = form->shared_from_this();
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    // A handler may drop the program's last reference to this form; it lives until here.
    const std::shared_ptr<Form> keepAlive = form->shared_from_this();
    ++form->messageDepth_;
    const LRESULT result = form->HandleMessage(window, message, wParam, lParam);
    --form->messageDepth_;
    return result;
}

LRESULT Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
        case WM_PAINT: Paint(); return 0;
        case WM_PRINTCLIENT: PaintSurface(reinterpret_cast<HDC>(wParam)); return 0;
        case WM_LBUTTONDOWN: OnMouseDown(PointFrom(lParam)); return 0;
        case WM_LBUTTONUP: OnMouseUp(PointFrom(lParam)); return 0;
        case WM_CAPTURECHANGED: pressedLabel_.reset(); return 0;
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_CTLCOLORLISTBOX:
            if (LRESULT brush = ListColours(reinterpret_cast<HDC>(wParam),
                                            reinterpret_cast<HWND>(lParam))) {
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

// The form moved to a monitor with another scale (or the scale changed): everything is laid
// out again at the new DPI, in the rectangle Windows suggests (which it asked for through
// WM_GETDPISCALEDSIZE, where it asks).
void Form::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || destroyed_) return;
    ApplyDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Places, fonts and pictures in pixels of the new DPI. Fonts keep their point sizes, so the
// caption goes on pulsating between the same sizes. What cannot be made anew keeps its old
// size: a picture or font that fails here is no reason to lose the window.
void Form::ApplyDpi(int dpi) {
    dpi_ = dpi;
    defaultFont_ = DefaultFont(dpi);
    for (Control& control : controls_) ApplyDpi(control);
    if (description_.Picture) {
        UniqueBitmap picture;
        if (!Failed(DecodePicture(description_.Picture, picture))) picture_ = std::move(picture);
    }
}

void Form::ApplyDpi(Control& control) {
    control.Bounds = PixelRect(control.Description->Bounds);
    LOGFONTW logFont{};
    if (control.Font && GetObjectW(control.Font.get(), sizeof logFont, &logFont)) {
        logFont.lfHeight = FontHeight(control.Points, dpi_);
        if (UniqueFont font(CreateFontIndirectW(&logFont)); font) {
            if (control.Window) {
                SendMessageW(control.Window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()),
                             FALSE);
            }
            control.Font = std::move(font);
        }
    }
    UniqueBitmap picture;
    if (control.Description->Picture &&
        !Failed(DecodePicture(control.Description->Picture, picture))) {
        if (control.Window && control.Description->Kind == ControlKind::PictureButton) {
            SendMessageW(control.Window, BM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(picture.get()));
        }
        control.Picture = std::move(picture);
    }
    if (control.Window) {
        const RECT& r = control.Bounds;
        SetWindowPos(control.Window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::ReleaseWindow() {
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

void Form::Paint() {
    const PaintScope paint(window_);
    const RECT& dirty = paint.Dirty();
    PaintSurfacePart(paint.Dc(), dirty, {dirty.left, dirty.top});
}

// The part `area` of the surface, drawn onto `dc` with its top-left corner at `at`. Drawn off
// screen first, so that the animated caption and a rewritten box do not flicker.
void Form::PaintSurfacePart(HDC dc, const RECT& area, POINT at) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const UniqueMemoryDc buffer(CreateCompatibleDC(dc));
    const UniqueBitmap canvas(CreateCompatibleBitmap(dc, width, height));
    if (!buffer || !canvas) {
        const ScopedViewportOrigin origin(dc, {at.x - area.left, at.y - area.top});
        PaintSurface(dc);
        return;
    }
    const ScopedSelection selection(buffer.get(), canvas.get());
    const ScopedViewportOrigin origin(buffer.get(), {-area.left, -area.top});
    PaintSurface(buffer.get());
    BitBlt(dc, at.x, at.y, width, height, buffer.get(), area.left, area.top, SRCCOPY);
}

void Form::InvalidateLabel(const Control& label) const {
    if (label.Window) {
        InvalidateRect(label.Window, nullptr, FALSE);
    } else {
        InvalidateRect(window_, &label.Bounds, FALSE);
    }
}

// The back colour, the picture at its natural size from the top-left corner (clipped by the
// client area), then the labels in stored order.
void Form::PaintSurface(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    FillSolid(dc, client, ColourRef(description_.BackColour));
    if (picture_) DrawBitmap(dc, picture_.get(), 0, 0);
    for (const Control& control : controls_) {
        if (control.Description->Kind == ControlKind::Label) DrawLabel(dc, control);
    }
}

void Form::DrawLabel(HDC dc, const Control& label) const {
    const ControlDescription& description = *label.Description;
    RECT box = label.Bounds;
    if (!description.Transparent) FillSolid(dc, box, ColourRef(description.BackColour));
    if (description.Border == BorderStyle::FixedSingle) {
        const UniqueBrush line(CreateSolidBrush(ColourRef(kLabelBorderColour)));
        FrameRect(dc, &box, line ? line.get() : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&box, -kLabelBorderPixels, -kLabelBorderPixels);
    }
    const ScopedSelection font(dc, label.Font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourRef(description.ForeColour));
    // Shown exactly as stored: no mnemonics, every space kept, wrapped at word breaks.
    std::wstring text = label.Text;
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box,
              DT_WORDBREAK | DT_NOPREFIX | AlignmentFlag(description.TextAlignment));
}

// A label's window shows exactly what the surface has beneath it, so the form looks the same
// with the window as without it.
void Form::DrawItem(const DRAWITEMSTRUCT& item) const {
    const ControlIndex index = item.CtlID - kFirstControlId;
    if (index >= controls_.size() || controls_[index].Window != item.hwndItem) return;
    const Control& control = controls_[index];
    if (control.Description->Kind == ControlKind::Label) {
        PaintSurfacePart(item.hDC, control.Bounds, {item.rcItem.left, item.rcItem.top});
    } else {
        DrawPictureBox(item, control);
    }
}

void Form::DrawPictureBox(const DRAWITEMSTRUCT& item, const Control& control) const {
    FillSolid(item.hDC, item.rcItem, ColourRef(control.Description->BackColour));
    if (control.Picture) DrawBitmap(item.hDC, control.Picture.get(), 0, 0);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        DrawFocusRect(item.hDC, &item.rcItem);
    }
}

LRESULT Form::ListColours(HDC dc, HWND list) const {
    for (const Control& control : controls_) {
        if (control.Window != list || !control.Background) continue;
        SetTextColor(dc, ColourRef(control.Description->ForeColour));
        SetBkColor(dc, ColourRef(control.Description->BackColour));
        return reinterpret_cast<LRESULT>(control.Background.get());
    }
    return 0;
}

// Labels are hit-tested here, even those with a window (it lets the mouse through): a click
// is theirs when it lands in their rectangle. Later labels lie on top of earlier ones.
std::optional<ControlIndex> Form::LabelAt(POINT point) const {
    for (ControlIndex i = controls_.size(); i-- > 0;) {
        const Control& control = controls_[i];
        if (control.Description->Kind == ControlKind::Label && PtInRect(&control.Bounds, point)) {
            return i;
        }
    }
    return std::nullopt;
}

// Labels take no mouse input of their own, so the form captures the mouse for the label that
// was pressed, and the release over the same label is its click.
void Form::OnMouseDown(POINT point) {
    pressedLabel_ = LabelAt(point);
    if (pressedLabel_) SetCapture(window_);
}

void Form::OnMouseUp(POINT point) {
    const std::optional<ControlIndex> pressed = std::exchange(pressedLabel_, std::nullopt);
    if (GetCapture() == window_) ReleaseCapture();
    if (pressed && LabelAt(point) == pressed) Report(*pressed, Event::Click);
}

void Form::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Only notifications from the form's own child windows count.
    const HWND from = reinterpret_cast<HWND>(lParam);
    const ControlIndex index = LOWORD(wParam) - kFirstControlId;
    if (!from || index >= controls_.size() || controls_[index].Window != from) return;
    const WORD code = HIWORD(wParam);
    switch (controls_[index].Description->Kind) {
        case ControlKind::PictureButton:
        case ControlKind::PictureBox:
            if (code == BN_CLICKED) Report(index, Event::Click);
            break;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE) Report(index, Event::Click);
            break;
        default: break;
    }
}

void Form::OnTimer(WPARAM timerId) {
    const ControlIndex index = timerId - kFirstControlId;
    if (index < controls_.size() && controls_[index].TimerRunning) Report(index, Event::Timer);
}

// Like a dialog: the focus comes back to the control that had it, or starts on the first
// control in the tab order.
void Form::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        return;
    }
    HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_
                                                     : GetNextDlgTabItem(window_, nullptr, FALSE);
    SetFocus(target ? target : window_);
}

void Form::Report(ControlIndex index, Event event) {
    if (sink_) sink_->OnEvent(index, event);
}

}  // namespace avo::win32
