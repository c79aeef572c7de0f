#pragma once

#include "platform/WindowDescription.h"

namespace avo {

// What every window system gives a window or control whose description leaves a property
// out. The backends read these; none keeps a copy of its own.

// The classic window font the windows were laid out with. Its charset is Turkish like every
// other font of the program, so that "ı", "ş" and "ğ" come from a face that has them.
inline constexpr FontDescriptor kDefaultWindowFont{
    .Face = "MS Sans Serif",
    .Size = PointSize::FromTenThousandths(82500),
    .Weight = 400,
    .Charset = kCharsetTurkish,
};

// A label with a single border draws one flat black line this wide: a fixed colour, since
// desktops' window-frame colours differ (Wine's is grey) and the look must not.
inline constexpr int kLabelBorderPixels = 1;
inline constexpr Colour kLabelBorderColour = Rgb(0, 0, 0);

// A rectangle in device pixels, for placement.
struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where a window of this outer size goes when it opens: over `owner` when the window asks
// to be centred on its owner and one is given, else on the screen's work area.
constexpr PixelRect InitialPlacement(StartUpPosition position, int width, int height,
                                     const PixelRect& workArea, const PixelRect* owner) {
    const PixelRect& area = position == StartUpPosition::CentreOwner && owner ? *owner : workArea;
    return {area.Left + (area.Width - width) / 2, area.Top + (area.Height - height) / 2, width,
            height};
}

}  // namespace avo
