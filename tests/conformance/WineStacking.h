#pragma once

#include <windows.h>

#include <vector>

namespace avo::conformance {

// The X windows from bottom to top as the window manager stacks them, when the program runs
// under Wine with one. Empty on Windows, or where no window manager keeps the list.
std::vector<unsigned long long> XStackingOrder();

// The X window that Wine's X11 driver made for a top-level window; 0 on Windows.
unsigned long long XWindowOf(HWND window);

}  // namespace avo::conformance
