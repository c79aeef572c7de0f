// Stands in for explorer.exe in the tests: it appends one line to the file named by
// AVO_FAKE_EXPLORER_LOG, "<process id> <show code> <command line>", and exits. It sits next
// to the test program, which is where CreateProcess looks first, so no browser ever starts.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"AVO_FAKE_EXPLORER_LOG", path, MAX_PATH)) return 0;
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int showCode =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? static_cast<int>(startup.wShowWindow) : -1;
    const std::wstring line = std::to_wstring(GetCurrentProcessId()) + L" " +
                              std::to_wstring(showCode) + L" " + GetCommandLineW() + L"\n";
    char utf8[4096];
    const int length = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                           utf8, sizeof utf8, nullptr, nullptr);
    const HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, utf8, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(log);
    return 0;
}
