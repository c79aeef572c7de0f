#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ConformanceDriver.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Handles.h"

// Finding the program's windows and copying what they show, for the Win32 driver and the
// Win32 tests alike.

namespace avo::conformance {

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// This thread's top-level windows of a class.
inline std::vector<HWND> ThreadWindows(const wchar_t* className) {
    std::vector<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::erase_if(all, [className](HWND window) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return std::wstring(name) != className;
    });
    return all;
}

// This thread's forms with the caption in their title bar.
inline std::vector<HWND> FormsWithCaption(const std::wstring& caption) {
    std::vector<HWND> forms = ThreadWindows(win32::kFormClassName);
    std::erase_if(forms, [&caption](HWND form) {
        wchar_t text[128] = {};
        GetWindowTextW(form, text, 128);
        return caption != text;
    });
    return forms;
}

// What `draw` puts on a 32-bit canvas of the given size, as 0x00RRGGBB values.
template <class Draw>
Picture Drawn(int width, int height, Draw&& draw) {
    Picture picture{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    const win32::ScreenDc screen;
    const win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    void* bits = nullptr;
    const win32::UniqueBitmap canvas(
        CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        const win32::ScopedSelection selection(memory.get(), canvas.get());
        draw(memory.get());
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    picture.Pixels.assign(pixels, pixels + std::size_t(width) * height);
    for (std::uint32_t& pixel : picture.Pixels) pixel &= 0xFFFFFFu;
    return picture;
}

// The window's client area as it is on the screen, child windows included.
inline Picture OnScreen(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    const HDC source = GetDCEx(window, nullptr, DCX_CACHE);
    Picture shown = Drawn(area.right, area.bottom, [&](HDC canvas) {
        BitBlt(canvas, 0, 0, area.right, area.bottom, source, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, source);
    return shown;
}

}  // namespace avo::conformance
