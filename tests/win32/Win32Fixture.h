#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/FormWindow.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/conformance/RunningProgram.h"
#include "tests/conformance/Win32Windows.h"

namespace avo::win32::testing {

inline constexpr wchar_t kForm1Caption[] = L"   Kavrelonix   Rivuvuv Avodevivu 2010";
inline constexpr wchar_t kAboutCaption[] = L"Hakkında-Drusenkal";

// Handles messages until the condition holds or the time is up; true when it held.
template <class Condition>
bool PumpUntil(Win32WindowSystem& system, Condition&& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        system.ProcessPendingMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// The one visible form with this caption, or null.
inline HWND FindForm(const wchar_t* caption) {
    std::vector<HWND> forms = conformance::FormsWithCaption(caption);
    std::erase_if(forms, [](HWND form) { return !IsWindowVisible(form); });
    return forms.size() == 1 ? forms.front() : nullptr;
}

// A child window by its control name, through the description as the backend numbers them.
inline HWND ControlWindow(HWND form, WindowName window, std::string_view control) {
    const WindowClass& windowClass = AvodevivuProgram().Classes[static_cast<int>(window)];
    return GetDlgItem(form, ControlId(windowClass.IndexOf(control)));
}

inline SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

inline RECT BoundsInForm(HWND form, HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

// The form's surface as WM_PRINTCLIENT draws it, labels included, with no child window.
inline conformance::Picture Surface(HWND form) {
    return conformance::Drawn(ClientSize(form).cx, ClientSize(form).cy, [form](HDC canvas) {
        SendMessageW(form, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas), PRF_CLIENT);
    });
}

// The whole program on the real window system, started: the main window is up.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PumpUntil(system, [] { return FindForm(kForm1Caption) != nullptr; }));
    }

    void TearDown() override {
        program.reset();
        // Uses up a quit request left by the test, which would end the next test's loop.
        system.ProcessPendingMessages();
    }

    HWND Form1() const { return FindForm(kForm1Caption); }
    HWND About() const { return FindForm(kAboutCaption); }
    HWND Form1Control(std::string_view name) const {
        return ControlWindow(Form1(), WindowName::Form1, name);
    }
    ControlRef Control(WindowName window, const char* name) {
        return program->Control(window, name);
    }

    void Pump() { system.ProcessPendingMessages(); }
    void OpenAbout() {
        SendMessageW(Form1Control("Command2"), BM_CLICK, 0, 0);
        Pump();
    }
    void ClickExitPicture() {
        const HWND picture = ControlWindow(About(), WindowName::Text, "Picture1");
        SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        Pump();
    }
    void ShowRow(int row) {
        SendMessageW(Form1Control("List1"), LB_SETCURSEL, row, 0);
        SendMessageW(Form1Control("Command1"), BM_CLICK, 0, 0);
    }

    Win32WindowSystem system;
    std::unique_ptr<avo::testing::RunningProgram> program =
        std::make_unique<avo::testing::RunningProgram>(system);
};

}  // namespace avo::win32::testing
