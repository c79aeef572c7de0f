#include "platform/win32/Dpi.h"

#include "platform/WindowDefaults.h"
#include "platform/win32/DeviceUnits.h"
#include "platform/win32/SystemLibrary.h"

namespace avo::win32 {
namespace {

// MONITOR_DPI_TYPE's effective DPI, from shellscalingapi.h (Windows 8.1 and later).
constexpr int kEffectiveDpi = 0;

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// Looked up at run time: Windows 7 has none of them.
template <class Function>
Function Lookup(const wchar_t* module, const char* name) {
    Function function = nullptr;
    FindFunction(LoadSystemLibrary(module), name, function);
    return function;
}

}  // namespace

int DpiOfMonitorAt(POINT point, int fallback) {
    static const auto getDpiForMonitor =
        Lookup<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (!getDpiForMonitor ||
        FAILED(getDpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTOPRIMARY), kEffectiveDpi,
                                &dpiX, &dpiY)) ||
        dpiY == 0) {
        return fallback;
    }
    return static_cast<int>(dpiY);
}

int DpiOfWindow(HWND window, int fallback) {
    static const auto getDpiForWindow =
        Lookup<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : fallback;
}

SIZE FrameSizeForDpi(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi =
        Lookup<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

const EmbeddedFile& PictureFileForDpi(const PictureDescription& picture, int dpi) {
    return PictureFileForScale(picture, static_cast<double>(dpi) / kDefaultDpi);
}

}  // namespace avo::win32
