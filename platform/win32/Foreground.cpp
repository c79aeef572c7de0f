#include "platform/win32/Foreground.h"

namespace avo::win32 {
namespace {

bool RunsUnderWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// Windows gives the foreground only to the thread that has it or to one that shares its
// input state, so the thread borrows that state for as long as the owner lives.
class SharedForegroundInput {
public:
    SharedForegroundInput() {
        const HWND foreground = GetForegroundWindow();
        foregroundThread_ = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
        attached_ = foregroundThread_ != 0 && foregroundThread_ != thisThread_ &&
                    AttachThreadInput(thisThread_, foregroundThread_, TRUE);
    }
    ~SharedForegroundInput() {
        if (attached_) AttachThreadInput(thisThread_, foregroundThread_, FALSE);
    }
    SharedForegroundInput(const SharedForegroundInput&) = delete;
    SharedForegroundInput& operator=(const SharedForegroundInput&) = delete;

private:
    DWORD thisThread_ = GetCurrentThreadId();
    DWORD foregroundThread_ = 0;
    bool attached_ = false;
};

// HWND_TOP on a window that is already first in the z-order is no change at all, so the
// window passes through the topmost band and back, which always is one.
void RaiseAboveAll(HWND window) {
    constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder);
    BringWindowToTop(window);
}

// Wine's X11 driver asks the window manager for the keyboard focus only when it maps a
// window, and its idea of the foreground lags behind other X programs'. A change of z-order
// does not help there: the window manager raises the window and then stacks it under the
// focused one again. So a window on the screen is mapped afresh, which an X window manager
// raises and focuses like any new window.
void MapAfresh(HWND window) {
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    } else {
        if (IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOW);
    }
    SetForegroundWindow(window);
}

void RaiseAndActivate(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    const SharedForegroundInput sharedInput;
    RaiseAboveAll(window);
    SetForegroundWindow(window);
}

}  // namespace

void BringToFront(HWND window) {
    if (RunsUnderWine()) {
        MapAfresh(window);
    } else {
        RaiseAndActivate(window);
    }
}

}  // namespace avo::win32
