#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "app/Shell.h"
#include "platform/win32/Form.h"
#include "platform/win32/Win32WindowSystem.h"

namespace avo::win32::testing {

inline constexpr wchar_t kForm1Caption[] = L"   Kavrelonix   Rivuvuv Avodevivu 2010";
inline constexpr wchar_t kAboutCaption[] = L"Hakkında-Drusenkal";
inline const std::string kSiteLaunch = "explorer.exe http://www.kavrelonix.example";

using Clock = std::chrono::steady_clock;

// Handles messages until the condition holds or the time is up; true when it held.
template <class Condition>
bool PumpUntil(Win32WindowSystem& system, Condition&& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        system.ProcessPendingMessages();
        if (condition()) return true;
        if (Clock::now() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Every top-level window of this thread, in z-order.
inline BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

inline std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

inline std::wstring ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The visible forms of this thread with the given caption.
inline std::vector<HWND> FormsCaptioned(const wchar_t* caption) {
    std::vector<HWND> found;
    for (const HWND window : ThreadWindows()) {
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        if (ClassNameOf(window) == kFormClassName && std::wstring(text) == caption &&
            IsWindowVisible(window)) {
            found.push_back(window);
        }
    }
    return found;
}

inline HWND FindForm(const wchar_t* caption) {
    const std::vector<HWND> found = FormsCaptioned(caption);
    return found.size() == 1 ? found.front() : nullptr;
}

// A child window by its control name, through the window's description as the backend does.
inline HWND ControlWindow(HWND form, WindowName window, std::string_view control) {
    const WindowClass& windowClass = AvodevivuProgram().Classes[static_cast<int>(window)];
    return GetDlgItem(form, ControlId(windowClass.IndexOf(control)));
}

inline RECT ClientRectOf(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline void Click(HWND window, int x = 4, int y = 4) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// What the fake explorer.exe next to the tests records: one line per start.
class LaunchLog {
public:
    struct Launch {
        unsigned long ProcessId;
        int ShowCode;
        std::string CommandLine;
    };

    LaunchLog() {
        wchar_t directory[MAX_PATH];
        GetTempPathW(MAX_PATH, directory);
        path_ = std::wstring(directory) + L"avo-launches-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter_) + L".log";
        DeleteFileW(path_.c_str());
        SetEnvironmentVariableW(L"AVO_FAKE_EXPLORER_LOG", path_.c_str());
    }
    ~LaunchLog() {
        SetEnvironmentVariableW(L"AVO_FAKE_EXPLORER_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    LaunchLog(const LaunchLog&) = delete;
    LaunchLog& operator=(const LaunchLog&) = delete;

    std::vector<Launch> Read() const {
        std::vector<Launch> launches;
        const HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return launches;
        std::string content(1 << 16, '\0');
        DWORD read = 0;
        ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
        CloseHandle(file);
        std::istringstream lines(content.substr(0, read));
        Launch launch;
        while (lines >> launch.ProcessId >> launch.ShowCode) {
            lines.get();
            std::getline(lines, launch.CommandLine);
            launches.push_back(launch);
        }
        return launches;
    }

    // The launches, once `count` have been recorded (the fake runs on its own).
    std::vector<Launch> WaitFor(std::size_t count) const {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        std::vector<Launch> launches = Read();
        while (launches.size() < count && Clock::now() < deadline) {
            Sleep(20);
            launches = Read();
        }
        return launches;
    }

private:
    static inline int counter_ = 0;
    std::wstring path_;
};

// The whole program on the real window system, started: the main window is up.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        shell->Start();
        ASSERT_TRUE(PumpUntil(system, [] { return FindForm(kForm1Caption) != nullptr; }));
    }

    void TearDown() override {
        shell.reset();
        // A quit request left by a test must not end the next test's loop.
        system.ProcessPendingMessages();
        system.ProcessPendingMessages();
    }

    HWND Form1() const { return FindForm(kForm1Caption); }
    HWND About() const { return FindForm(kAboutCaption); }
    HWND Form1Control(std::string_view name) const {
        return ControlWindow(Form1(), WindowName::Form1, name);
    }
    HWND AboutControl(std::string_view name) const {
        return ControlWindow(About(), WindowName::Text, name);
    }
    ControlRef Control(WindowName window, std::string_view name) {
        return shell->Instance(window)->Control(name);
    }
    std::string Form1Text(std::string_view name) { return Control(WindowName::Form1, name).Text(); }

    void Pump() { system.ProcessPendingMessages(); }
    void OpenAbout() {
        SendMessageW(Form1Control("Command2"), BM_CLICK, 0, 0);
        Pump();
    }
    void ClickExitPicture() {
        Click(AboutControl("Picture1"));
        Pump();
    }
    void ShowRow(int row) {
        SendMessageW(Form1Control("List1"), LB_SETCURSEL, row, 0);
        SendMessageW(Form1Control("Command1"), BM_CLICK, 0, 0);
    }

    LaunchLog launches;
    Win32WindowSystem system;
    std::ostringstream diagnostics;
    std::unique_ptr<Shell> shell = std::make_unique<Shell>(system, AvodevivuProgram(), diagnostics);
};

}  // namespace avo::win32::testing
