#pragma once

#include <windows.h>

#include "platform/WindowDescription.h"

namespace avo::win32 {

// Makes a label's own window answer screen readers: its name is the label's AccessibleName
// (the heading it is known by) and its value is the text it shows, read from the window
// text. Everything else is the system's standard answer for the window. Lasts as long as the
// window, which the description must outlive. False when the window could not be hooked.
bool ExposeLabelToScreenReaders(HWND window, const ControlDescription& label);

}  // namespace avo::win32
