#include "platform/win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/AccessibleNames.h"
#include "platform/win32/ScreenReaderObjects.h"
#include "platform/win32/WideText.h"

// The child windows of the form's controls and their tips.

namespace avo::win32 {
namespace {

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

}  // namespace

// The windowed controls by TabIndex, so that screen readers meet them in tab order.
std::vector<ControlIndex> FormWindow::CreationOrder() const {
    std::vector<ControlIndex> order;
    for (ControlIndex i = 0; i < controls_.size(); ++i) {
        if (IsWindowed(*controls_[i].Description)) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [this](ControlIndex a, ControlIndex b) {
        return controls_[a].Description->TabIndex < controls_[b].Description->TabIndex;
    });
    return order;
}

Status FormWindow::CreateChildWindows() {
    for (const ControlIndex index : CreationOrder()) {
        if (Status status = CreateChildWindow(index); Failed(status)) return status;
    }
    return StatusOk;
}

Status FormWindow::CreateChildWindow(ControlIndex index) {
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
                                  : Widen(AccessibleNameOf(description));
    const RECT& r = control.Bounds;
    control.Window = CreateWindowExW(
        exStyle, className, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), context_.Instance,
        nullptr);
    if (!control.Window) return StatusFromSystemError(GetLastError());

    SendMessageW(control.Window, WM_SETFONT, reinterpret_cast<WPARAM>(control.Font.get()), FALSE);
    for (const std::string_view row : description.Rows) {
        SendMessageW(control.Window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row).c_str()));
    }
    if (description.Kind == ControlKind::PictureButton && control.Picture) {
        SendMessageW(control.Window, BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(control.Picture.get()));
    }
    if (NeedsScreenReaderObject(description) &&
        !ExposeToScreenReaders(control.Window, description)) {
        return StatusFromSystemError(GetLastError());
    }
    return StatusOk;
}

// A tip shows only after the pointer has rested on its control, so the tips are made once
// the form has been painted: the tip window, a top-level window of its own, is not worth
// making the first paint wait for.
void FormWindow::CreateToolTips() {
    for (const Control& control : controls_) {
        if (control.Window && !control.Description->ToolTip.empty()) CreateToolTip(control);
    }
}

void FormWindow::CreateToolTip(const Control& control) {
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

}  // namespace avo::win32
