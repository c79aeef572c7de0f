#pragma once

#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// What the X server and its window manager make of the windows, for the Windows build under
// Wine's X11 driver: stacking and focus are theirs, and Windows' own z-order can disagree.
// Read with xprop, a Unix program that Wine starts like any other (without a process handle).

namespace avo::win32::testing {

using XWindow = unsigned long;

// The X window that shows a top-level window; 0 when there is none (not Wine's X11 driver).
inline XWindow XWindowOf(HWND window) {
    return static_cast<XWindow>(
        reinterpret_cast<ULONG_PTR>(GetPropW(window, L"__wine_x11_whole_window")));
}

// Starts a Unix program with its standard output and error in `output`, an inheritable
// handle, and its input from NUL, so that it holds none of the test's own streams. Wine
// gives back no handle to wait on.
inline void StartUnixProgram(std::wstring commandLine, HANDLE output) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &started)) {
        if (started.hProcess) CloseHandle(started.hProcess);
        if (started.hThread) CloseHandle(started.hThread);
    }
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
}

// The one line that `xprop -root <property>` prints, or "" when it printed none in time.
inline std::string RootProperty(const std::wstring& property) {
    wchar_t directory[MAX_PATH];
    GetTempPathW(MAX_PATH, directory);
    const std::wstring path = std::wstring(directory) + L"avo-xprop-" +
                              std::to_wstring(GetCurrentProcessId()) + L".txt";
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    &inherited, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    StartUnixProgram(L"/usr/bin/xprop -root " + property, file);
    CloseHandle(file);
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(path.c_str());
        std::stringstream text;
        text << in.rdbuf();
        if (const std::string all = text.str(); !all.empty() && all.back() == '\n') {
            line = all.substr(0, all.size() - 1);
            break;
        }
        Sleep(10);
    }
    DeleteFileW(path.c_str());
    return line;
}

// The window ids after the "#" of an xprop line: "NAME(WINDOW): window id # 0x1, 0x2".
inline std::vector<XWindow> WindowIds(const std::string& line) {
    std::vector<XWindow> ids;
    const std::size_t hash = line.find('#');
    if (hash == std::string::npos) return ids;
    std::istringstream list(line.substr(hash + 1));
    std::string id;
    while (list >> id) ids.push_back(std::stoul(id, nullptr, 16));
    return ids;
}

inline bool HasWindowManager() {
    return !WindowIds(RootProperty(L"_NET_SUPPORTING_WM_CHECK")).empty();
}

// The managed windows from bottom to top.
inline std::vector<XWindow> StackingOrder() {
    return WindowIds(RootProperty(L"_NET_CLIENT_LIST_STACKING"));
}

inline XWindow ActiveWindow() {
    const std::vector<XWindow> active = WindowIds(RootProperty(L"_NET_ACTIVE_WINDOW"));
    return active.empty() ? 0 : active.front();
}

}  // namespace avo::win32::testing
