#pragma once

#include <vector>

#include "platform/WindowSystem.h"

namespace avo {

// The keys whose meaning the program decides; every other key is the focused control's own
// (arrows and letters move through a list, for one).
enum class Key { Tab, ShiftTab, Space, Enter, Escape };

// List boxes, picture buttons and picture boxes take the keyboard focus; labels and timers
// never do.
bool TakesFocus(ControlKind kind);

// The controls that take the focus, in TabIndex order (description order between equal
// indexes). Tab moves forward through them and Shift+Tab back, round from the last to the
// first; the first has the focus when the window opens.
std::vector<ControlIndex> TabOrder(const WindowDescription& description);

// Whether the key presses the focused control. Space presses a focused picture button or
// picture box. Enter presses only a picture box: a window's picture box is its lone control
// (the About window's exit picture), which nobody can mistake for a default button, while
// the main window has no default button for Enter to press. Esc presses nothing: no window
// has a cancel button.
bool KeyPresses(Key key, ControlKind focused);

}  // namespace avo
