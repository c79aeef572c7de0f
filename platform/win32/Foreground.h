#pragma once

#include <windows.h>

namespace avo::win32 {

// Shows a top-level window above every other window, this program's and other programs',
// and makes it the active one with the keyboard focus; a minimised window is restored.
void BringToFront(HWND window);

}  // namespace avo::win32
