#pragma once

#include <windows.h>

#include "platform/PointSize.h"
#include "platform/WindowDescription.h"

// How the program's plain data (0x00BBGGRR colours, font descriptors) becomes GDI's.
namespace avo::win32 {

// Plain colours as they are; system colours as Windows has them now.
COLORREF ColourRef(Colour colour);

// The LOGFONT height of a font of this size: negative, a character height in pixels.
LONG FontHeight(PointSize size, int dpi);
LOGFONTW LogFontFor(const FontDescriptor& font, int dpi);

}  // namespace avo::win32
