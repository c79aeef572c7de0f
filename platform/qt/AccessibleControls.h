#pragma once

namespace avo::qt {

// Lets screen readers see the program's own controls as they are meant: a label's shown
// text through the text interface, tied to the heading that names it; a picture box that
// clicks as a push button; a window as a frame. Once per process, before the first window is built.
void InstallAccessibleControls();

}  // namespace avo::qt
