#include "platform/win32/GlyphCoverage.h"

#include <vector>

#include "platform/win32/Handles.h"

namespace avo::win32 {

std::wstring MissingGlyphs(HFONT font, std::wstring_view text) {
    std::wstring missing;
    if (text.empty()) return missing;
    const ScreenDc screen;
    const ScopedSelection selection(screen.Get(), font);
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(screen.Get(), text.data(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return std::wstring(text);  // nothing is known to be drawable
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (glyphs[i] == 0xFFFF && missing.find(text[i]) == std::wstring::npos) {
            missing.push_back(text[i]);
        }
    }
    return missing;
}

}  // namespace avo::win32
