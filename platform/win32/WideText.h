#pragma once

#include <string>
#include <string_view>

namespace avo::win32 {

// The program keeps its texts in UTF-8; Windows' wide APIs take UTF-16.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace avo::win32
