#pragma once

#include "platform/PointSize.h"
#include "platform/WindowDescription.h"

namespace avo::win32 {

// Conversions between the descriptions' units and device pixels at a given DPI: each form
// passes the DPI of the monitor it is on.

inline constexpr int kDefaultDpi = 96;

int PixelsFromTwips(Twips twips, int dpi);
// Pictures are drawn at their natural size at 96 DPI and scaled with the rest above it.
int PixelsFromPicturePixels(int pixels, int dpi);
// The pixel height of a font of this size, rounded half up the way GDI's MulDiv rounds.
int PixelsFromPoints(PointSize size, int dpi);
// The size in points of a font whose characters are this many pixels high.
PointSize PointsFromPixels(int pixels, int dpi);

}  // namespace avo::win32
