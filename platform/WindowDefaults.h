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

}  // namespace avo
