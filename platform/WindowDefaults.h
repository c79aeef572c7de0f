#pragma once

#include "platform/Placement.h"
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

// Above 100 % (more than one device pixel to a 96-DPI pixel) a picture is drawn from its 2x
// file where it has one, scaled from it where the scale is not 2; else from its 1x file.
constexpr bool DrawsFromThe2xFile(double scale) { return scale > 1.0; }
inline const EmbeddedFile& PictureFileForScale(const PictureDescription& picture, double scale) {
    return DrawsFromThe2xFile(scale) && picture.File2x ? *picture.File2x : *picture.File;
}

// A single border makes a fixed window with a title bar, the system menu, a minimise box and
// a close box; no border a bare one. No window has a maximise box or a sizing frame: the
// windows never change size.
constexpr bool HasTitleBar(BorderStyle border) { return border == BorderStyle::FixedSingle; }

}  // namespace avo
