#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace avo::conformance {

// A control's window as a screen reader reaches it, through its oleacc object; nullopt, or
// false, where the window has none.
std::optional<std::string> AccessibleNameOf(HWND window);
std::optional<std::string> AccessibleValueOf(HWND window);
bool DoDefaultAction(HWND window);

}  // namespace avo::conformance
