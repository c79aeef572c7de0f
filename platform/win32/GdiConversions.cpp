#include "platform/win32/GdiConversions.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/DeviceUnits.h"
#include "platform/win32/WideText.h"

namespace avo::win32 {

COLORREF ColourRef(Colour colour) {
    return IsSystemColour(colour) ? GetSysColor(colour & 0xFF) : static_cast<COLORREF>(colour);
}

// GDI reads a height of 0 as "the default size", so no font gets less than a pixel.
LONG FontHeight(PointSize size, int dpi) { return -std::max(1, PixelsFromPoints(size, dpi)); }

LOGFONTW LogFontFor(const FontDescriptor& font, int dpi) {
    LOGFONTW logFont{};
    logFont.lfHeight = FontHeight(font.Size, dpi);
    logFont.lfWeight = font.Weight;
    logFont.lfItalic = font.Italic;
    logFont.lfUnderline = font.Underline;
    logFont.lfStrikeOut = font.Strikethrough;
    logFont.lfCharSet = static_cast<BYTE>(font.Charset);
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = Widen(font.Face);
    wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return logFont;
}

}  // namespace avo::win32
