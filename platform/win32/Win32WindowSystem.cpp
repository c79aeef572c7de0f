#include "platform/win32/Win32WindowSystem.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "platform/win32/Win32Window.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace avo::win32 {
namespace {

int ScreenDpi() {
    const ScreenDc screen;
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

std::optional<Key> KeyOf(const MSG& message) {
    if (message.message != WM_KEYDOWN) return std::nullopt;
    switch (message.wParam) {
        case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? Key::ShiftTab : Key::Tab;
        case VK_SPACE: return Key::Space;
        case VK_RETURN: return Key::Enter;
        case VK_ESCAPE: return Key::Escape;
        default: return std::nullopt;
    }
}

// A form decides the keys of the program's own; the rest go to the focused control.
bool HandleProgramKey(HWND root, const MSG& message) {
    FormWindow* form = FormWindow::FromHandle(root);
    const std::optional<Key> key = form ? KeyOf(message) : std::nullopt;
    return key && form->OnKey(*key);
}

BOOL CALLBACK DestroyIfForm(HWND window, LPARAM) {
    if (FormWindow::IsForm(window)) DestroyWindow(window);
    return TRUE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() : instance_(GetModuleHandleW(nullptr)), dpi_(ScreenDpi()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    FormWindow::WindowClass(instance_);
}

// Forms whose destruction was still waiting for a posted message go with the window system.
Win32WindowSystem::~Win32WindowSystem() {
    EnumThreadWindows(GetCurrentThreadId(), DestroyIfForm, 0);
}

Status Win32WindowSystem::Load(const WindowDescription& description, EventSink& sink,
                               std::unique_ptr<NativeWindow>& window) {
    if (!FormWindow::WindowClass(instance_)) return StatusFailed;
    std::shared_ptr<FormWindow> form;
    const FormWindowContext context{instance_, dpi_, pictures_};
    if (Status status = FormWindow::Create(description, sink, context, form); Failed(status)) {
        return status;
    }
    window = std::make_unique<Win32Window>(std::move(form));
    return StatusOk;
}

Status Win32WindowSystem::StartProcess(std::string_view commandLine, int showCode,
                                       std::uint32_t& processId) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring writableCommandLine = Widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCode);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return StatusFromSystemError(GetLastError());
    }
    // The program never waits for what it starts.
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    processId = started.dwProcessId;
    return StatusOk;
}

void Win32WindowSystem::RunEventLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Route(message);
}

void Win32WindowSystem::Quit() { PostQuitMessage(0); }

bool Win32WindowSystem::ProcessPendingMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        Route(message);
    }
    return true;
}

void Win32WindowSystem::Route(MSG& message) {
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (HandleProgramKey(root, message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace avo::win32

namespace avo {

// Windows passes the program no options of its own.
std::unique_ptr<WindowSystem> CreateWindowSystem(const char*, const WindowDescription&) {
    return std::make_unique<win32::Win32WindowSystem>();
}

}  // namespace avo
