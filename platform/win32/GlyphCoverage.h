#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace avo::win32 {

// The characters of `text` that `font` has no glyph for, each once, in order of first use;
// empty when the font draws them all. GDI draws such a character as the font's default
// glyph (a box or nothing), since plain ExtTextOut does no fallback to other fonts.
std::wstring MissingGlyphs(HFONT font, std::wstring_view text);

}  // namespace avo::win32
