#pragma once

#include <windows.h>

#include "platform/WindowDescription.h"

namespace avo::win32 {

// True for the controls whose windows need answers of their own for screen readers: the
// labels known by a heading, and the picture boxes, which act as buttons.
bool NeedsScreenReaderObject(const ControlDescription& control);

// Makes such a control's window answer screen readers. A label answers its heading (its
// AccessibleName) as its name and the text it shows, read from the window text, as its
// value. A picture box answers the push-button role, and its default action clicks it.
// Everything else is the system's standard answer for the window. Lasts as long as the
// window, which the description must outlive. False when the window could not be hooked.
bool ExposeToScreenReaders(HWND window, const ControlDescription& control);

}  // namespace avo::win32
