#pragma once

#include <windows.h>

#include "platform/WindowDescription.h"

namespace avo::win32 {

// The DPI of monitors and windows, and the frame a client area needs at a DPI. Windows 10
// gives every monitor its own DPI; the functions for it are looked up at run time, so the
// program still starts on Windows 7, where one DPI, the session's, holds for every monitor.

// The DPI of the monitor that holds `point`, or `fallback` where the system cannot tell.
int DpiOfMonitorAt(POINT point, int fallback);
// The DPI a window is drawn at now, or `fallback` where the system cannot tell.
int DpiOfWindow(HWND window, int fallback);
// The outer size of a window with this style around a client area of the given size.
SIZE FrameSizeForDpi(SIZE client, DWORD style, DWORD exStyle, int dpi);

// Which file of a described picture serves a DPI: the 2x one above 96 DPI, where there is
// one, so that 125 % to 175 % scale it down, never the 1x one up.
const EmbeddedFile& PictureFileForDpi(const PictureDescription& picture, int dpi);

}  // namespace avo::win32
