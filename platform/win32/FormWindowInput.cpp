#include "platform/win32/FormWindow.h"

#include <algorithm>
#include <utility>

// Mouse, keyboard focus, notifications and timer ticks, turned into the program's events.

namespace avo::win32 {

// Labels are hit-tested here, even those with a window (it lets the mouse through): a click
// is theirs when it lands in their rectangle. Later labels lie on top of earlier ones.
std::optional<ControlIndex> FormWindow::LabelAt(POINT point) const {
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
void FormWindow::OnMouseDown(POINT point) {
    pressedLabel_ = LabelAt(point);
    if (pressedLabel_) SetCapture(window_);
}

void FormWindow::OnMouseUp(POINT point) {
    const std::optional<ControlIndex> pressed = std::exchange(pressedLabel_, std::nullopt);
    if (GetCapture() == window_) ReleaseCapture();
    if (pressed && LabelAt(point) == pressed) Report(*pressed, Event::Click);
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
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

void FormWindow::OnTimer(WPARAM timerId) {
    const ControlIndex index = timerId - kFirstControlId;
    if (index < controls_.size() && controls_[index].TimerRunning) Report(index, Event::Timer);
}

// Like a dialog: the focus comes back to the control that had it, or starts on the first
// control in the tab order.
void FormWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        return;
    }
    const std::vector<ControlIndex> order = TabOrder(description_);
    HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_
                  : order.empty()                    ? nullptr
                                                     : controls_[order.front()].Window;
    SetFocus(target ? target : window_);
}

std::optional<ControlIndex> FormWindow::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || GetParent(focus) != window_) return std::nullopt;
    const auto index = static_cast<ControlIndex>(GetDlgCtrlID(focus) - kFirstControlId);
    return index < controls_.size() ? std::optional(index) : std::nullopt;
}

// The dialog manager is not used for these keys: it makes a focused push button the default
// one, and Enter would then press it.
bool FormWindow::OnKey(Key key) {
    const std::optional<ControlIndex> focus = FocusedControl();
    if (key == Key::Tab || key == Key::ShiftTab) {
        const std::vector<ControlIndex> order = TabOrder(description_);
        if (order.empty()) return true;
        auto at = focus ? std::ranges::find(order, *focus) : order.end();
        if (at == order.end()) at = order.begin();
        const std::size_t step = key == Key::Tab ? 1 : order.size() - 1;
        const std::size_t next =
            (static_cast<std::size_t>(at - order.begin()) + step) % order.size();
        SetFocus(controls_[order[next]].Window);
        // From now on the focused control shows its focus rectangle.
        SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return true;
    }
    if (focus && KeyPresses(key, controls_[*focus].Description->Kind)) {
        SendMessageW(controls_[*focus].Window, BM_CLICK, 0, 0);
        return true;
    }
    // Space is the list's own; Enter and Esc press nothing.
    return key != Key::Space;
}

void FormWindow::Report(ControlIndex index, Event event) {
    if (sink_) sink_->OnEvent(index, event);
}

}  // namespace avo::win32
