#pragma once

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

#include "platform/win32/Handles.h"

namespace avo::conformance {

// A control's window as a screen reader reaches it, through its oleacc object; null,
// nullopt, 0 or false where the window has none.
win32::ComPtr<IAccessible> AccessibleObjectOf(HWND window);
std::optional<std::string> AccessibleNameOf(HWND window);
std::optional<std::string> AccessibleValueOf(HWND window);
std::optional<std::string> DefaultActionOf(HWND window);
long AccessibleRoleOf(HWND window);
bool DoDefaultAction(HWND window);

// The object itself, as the name, value and actions above are asked of it.
VARIANT Self();

}  // namespace avo::conformance
