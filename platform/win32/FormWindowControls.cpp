#include "platform/win32/FormWindow.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ControlStatus.h"
#include "platform/win32/DeviceUnits.h"
#include "platform/win32/GdiConversions.h"
#include "platform/win32/WideText.h"

// The operations the program calls on a loaded form's controls.

namespace avo::win32 {

Status FormWindow::SetText(ControlIndex index, std::string_view text) {
    if (Status status = ControlStatus(description_, destroyed_, index, ControlOperation::SetText);
        Failed(status)) {
        return status;
    }
    Control& label = controls_[index];
    label.Text = Widen(text);
    if (label.Window) {
        SetWindowTextW(label.Window, label.Text.c_str());
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, label.Window, OBJID_CLIENT, CHILDID_SELF);
    }
    InvalidateLabel(label);
    return StatusOk;
}

Status FormWindow::GetText(ControlIndex index, std::string& text) const {
    if (Status status = ControlStatus(description_, destroyed_, index, ControlOperation::GetText);
        Failed(status)) {
        return status;
    }
    const Control& control = controls_[index];
    switch (control.Description->Kind) {
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

Status FormWindow::IsRowSelected(ControlIndex index, int row, bool& selected) const {
    if (Status status =
            ControlStatus(description_, destroyed_, index, ControlOperation::IsRowSelected);
        Failed(status)) {
        return status;
    }
    const HWND list = controls_[index].Window;
    const int rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (Status status = RowStatus(row, rows); Failed(status)) return status;
    const LRESULT state = SendMessageW(list, LB_GETSEL, row, 0);
    if (state == LB_ERR) return StatusFailed;
    selected = state > 0;
    return StatusOk;
}

// Read back from the font in use, so that the caller sees the size GDI really gives.
Status FormWindow::GetFontSize(ControlIndex index, PointSize& size) const {
    if (Status status =
            ControlStatus(description_, destroyed_, index, ControlOperation::GetFontSize);
        Failed(status)) {
        return status;
    }
    const Control& control = controls_[index];
    LOGFONTW logFont{};
    if (!control.Font || !GetObjectW(control.Font.get(), sizeof logFont, &logFont)) {
        return StatusFailed;
    }
    size = PointsFromPixels(std::abs(logFont.lfHeight), dpi_);
    return StatusOk;
}

Status FormWindow::SetFontSize(ControlIndex index, PointSize size) {
    if (Status status =
            ControlStatus(description_, destroyed_, index, ControlOperation::SetFontSize);
        Failed(status)) {
        return status;
    }
    if (Status status = FontSizeStatus(size); Failed(status)) return status;
    Control& control = controls_[index];
    LOGFONTW logFont{};
    if (!control.Font || !GetObjectW(control.Font.get(), sizeof logFont, &logFont)) {
        return StatusFailed;
    }
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

Status FormWindow::GetTimerEnabled(ControlIndex index, bool& enabled) const {
    if (Status status =
            ControlStatus(description_, destroyed_, index, ControlOperation::GetTimerEnabled);
        Failed(status)) {
        return status;
    }
    enabled = controls_[index].TimerRunning;
    return StatusOk;
}

// Enabling a stopped timer starts a fresh interval; enabling a running one changes nothing.
Status FormWindow::SetTimerEnabled(ControlIndex index, bool enabled) {
    if (Status status =
            ControlStatus(description_, destroyed_, index, ControlOperation::SetTimerEnabled);
        Failed(status)) {
        return status;
    }
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

}  // namespace avo::win32
