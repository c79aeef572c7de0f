#include "platform/win32/FormWindow.h"

#include <utility>

#include "platform/WindowDefaults.h"
#include "platform/win32/GdiConversions.h"

// How a form reaches the screen. Its surface (back colour, picture, labels) is drawn in one
// place, PaintSurface, for WM_PAINT and for the windows of the labels that screen readers
// know; the list boxes take their colours and the picture boxes draw their picture here too.

namespace avo::win32 {
namespace {

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

UINT AlignmentFlag(Alignment alignment) {
    switch (alignment) {
        case Alignment::Left: return DT_LEFT;
        case Alignment::Centre: return DT_CENTER;
        case Alignment::Right: return DT_RIGHT;
    }
    return DT_LEFT;
}

}  // namespace

void FormWindow::Paint() {
    const PaintScope paint(window_);
    const RECT& dirty = paint.Dirty();
    PaintSurfacePart(paint.Dc(), dirty, {dirty.left, dirty.top});
}

// The part `area` of the surface, drawn onto `dc` with its top-left corner at `at`.
void FormWindow::PaintSurfacePart(HDC dc, const RECT& area, POINT at) const {
    PaintOffScreen(dc, area, at, [this](HDC buffer) { PaintSurface(buffer); });
}

// What `draw` paints of `area` (in client coordinates), onto `dc` at `at`. Drawn off screen
// first, so that the animated caption and a rewritten box do not flicker.
void FormWindow::PaintOffScreen(HDC dc, const RECT& area, POINT at,
                                const std::function<void(HDC)>& draw) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    const UniqueMemoryDc buffer(CreateCompatibleDC(dc));
    const UniqueBitmap canvas(CreateCompatibleBitmap(dc, width, height));
    if (!buffer || !canvas) {
        const ScopedViewportOrigin origin(dc, {at.x - area.left, at.y - area.top});
        draw(dc);
        return;
    }
    const ScopedSelection selection(buffer.get(), canvas.get());
    const ScopedViewportOrigin origin(buffer.get(), {-area.left, -area.top});
    draw(buffer.get());
    BitBlt(dc, at.x, at.y, width, height, buffer.get(), area.left, area.top, SRCCOPY);
}

// An opaque label fills its whole box, so what lies beneath it never shows; unless a later
// label is drawn over part of it, the label alone is what the surface has there.
bool FormWindow::CoversItsSurface(ControlIndex label) const {
    if (controls_[label].Description->Transparent) return false;
    for (ControlIndex later = label + 1; later < controls_.size(); ++later) {
        RECT overlap{};
        if (controls_[later].Description->Kind == ControlKind::Label &&
            IntersectRect(&overlap, &controls_[later].Bounds, &controls_[label].Bounds)) {
            return false;
        }
    }
    return true;
}

void FormWindow::InvalidateLabel(const Control& label) const {
    if (label.Window) {
        InvalidateRect(label.Window, nullptr, FALSE);
    } else {
        InvalidateRect(window_, &label.Bounds, FALSE);
    }
}

// The back colour, the picture at its natural size from the top-left corner (clipped by the
// client area), then the labels in stored order.
void FormWindow::PaintSurface(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    FillSolid(dc, client, ColourRef(description_.BackColour));
    if (picture_) DrawBitmap(dc, picture_.get(), 0, 0);
    for (const Control& control : controls_) {
        if (control.Description->Kind == ControlKind::Label) DrawLabel(dc, control);
    }
}

void FormWindow::DrawLabel(HDC dc, const Control& label) const {
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
// with the window as without it. An opaque box paints itself; the whole surface is painted
// into the window only where the picture or another label must show through.
void FormWindow::DrawItem(const DRAWITEMSTRUCT& item) const {
    const ControlIndex index = item.CtlID - kFirstControlId;
    if (index >= controls_.size() || controls_[index].Window != item.hwndItem) return;
    const Control& control = controls_[index];
    const POINT at{item.rcItem.left, item.rcItem.top};
    if (control.Description->Kind == ControlKind::Label && CoversItsSurface(index)) {
        PaintOffScreen(item.hDC, control.Bounds, at,
                       [&](HDC buffer) { DrawLabel(buffer, control); });
    } else if (control.Description->Kind == ControlKind::Label) {
        PaintSurfacePart(item.hDC, control.Bounds, at);
    } else {
        DrawPictureBox(item, control);
    }
}

void FormWindow::DrawPictureBox(const DRAWITEMSTRUCT& item, const Control& control) const {
    FillSolid(item.hDC, item.rcItem, ColourRef(control.Description->BackColour));
    if (control.Picture) DrawBitmap(item.hDC, control.Picture.get(), 0, 0);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        DrawFocusRect(item.hDC, &item.rcItem);
    }
}

LRESULT FormWindow::ListColours(HDC dc, HWND list) const {
    for (const Control& control : controls_) {
        if (control.Window != list || !control.Background) continue;
        SetTextColor(dc, ColourRef(control.Description->ForeColour));
        SetBkColor(dc, ColourRef(control.Description->BackColour));
        return reinterpret_cast<LRESULT>(control.Background.get());
    }
    return 0;
}

}  // namespace avo::win32
