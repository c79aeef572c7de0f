#include "platform/win32/FormWindow.h"

#include "platform/win32/DeviceUnits.h"
#include "platform/win32/GdiConversions.h"

// The move to a monitor of another DPI: everything laid out again at the new one.

namespace avo::win32 {

// The form moved to a monitor with another scale (or the scale changed): everything is laid
// out again at the new DPI, in the rectangle Windows suggests (which it asked for through
// WM_GETDPISCALEDSIZE, where it asks).
void FormWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || destroyed_) return;
    ApplyDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Places, fonts and pictures in pixels of the new DPI. Fonts keep their point sizes, so the
// caption goes on pulsating between the same sizes. What cannot be made anew keeps its old
// size: a picture or font that fails here is no reason to lose the window.
void FormWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    defaultFont_ = DefaultFont(dpi);
    for (Control& control : controls_) ApplyDpi(control);
    if (description_.Picture) {
        UniqueBitmap picture;
        if (!Failed(DecodePicture(description_.Picture, picture))) picture_ = std::move(picture);
    }
}

void FormWindow::ApplyDpi(Control& control) {
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

}  // namespace avo::win32
