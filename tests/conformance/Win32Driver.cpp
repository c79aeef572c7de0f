#include "ConformanceDriver.h"
#include "Win32ScreenReader.h"
#include "Win32Windows.h"
#include "WineStacking.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "about/Text.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/GdiConversions.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32WindowSystem.h"
#include "reference/Form1.h"

namespace avo::conformance {
namespace {

using namespace avo::win32;

constexpr wchar_t kOtherClassName[] = L"Avodevivu.OtherProgram";

const WindowDescription& DescriptionOf(const std::string& window) {
    return window == "Form1" ? form1::Description() : about::Description();
}

ControlIndex IndexIn(const WindowDescription& description, const std::string& control) {
    for (ControlIndex i = 0; i < description.Controls.size(); ++i) {
        if (description.Controls[i].Name == control) return i;
    }
    return kFormControl;
}

PixelRect ToPixelRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

WPARAM VirtualKeyOf(Key key) {
    switch (key) {
        case Key::Tab:
        case Key::ShiftTab: return VK_TAB;
        case Key::Space: return VK_SPACE;
        case Key::Enter: return VK_RETURN;
        case Key::Escape: return VK_ESCAPE;
    }
    return 0;
}

// Real Win32 windows of the win64 build under wine64, driven with the mouse messages that
// the controls themselves handle.
class Win32Driver final : public Driver {
public:
    Win32Driver() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kOtherClassName;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassW(&windowClass);
    }
    ~Win32Driver() override {
        if (other_) DestroyWindow(other_);
        system_.ProcessPendingMessages();
    }

    WindowSystem& System() override { return system_; }

    // A quit request met here is put back for the event loop that a case may run next.
    void Flush() override {
        if (!system_.ProcessPendingMessages()) PostQuitMessage(0);
    }
    void Pump() override { Wait(std::chrono::milliseconds(80)); }
    void Wait(std::chrono::milliseconds time) override {
        // The X server and the window manager answer asynchronously; messages are handled
        // as they come for the whole time.
        const auto end = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < end) {
            Flush();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        Flush();
    }

    void Click(const std::string& window, const std::string& control) override {
        const HWND target = Control(window, control);
        const POINT centre = Centre(target);
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
        Flush();
    }
    void PressDragOffRelease(const std::string& window, const std::string& control) override {
        const HWND target = Control(window, control);
        const POINT centre = Centre(target);
        RECT area{};
        GetClientRect(target, &area);
        const LPARAM outside = MAKELPARAM(area.right + 20, area.bottom + 20);
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
        SendMessageW(target, WM_MOUSEMOVE, MK_LBUTTON, outside);
        SendMessageW(target, WM_LBUTTONUP, 0, outside);
        Flush();
    }
    void CloseCommand(const std::string& window) override {
        SendMessageW(Form(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        Flush();
    }
    void ClickRow(const std::string& window, const std::string& control, int row) override {
        const HWND list = Control(window, control);
        SendMessageW(list, LB_SETTOPINDEX, row, 0);
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list, WM_LBUTTONUP, 0, at);
        Flush();
    }
    void Minimise(const std::string& window) override {
        ShowWindow(Form(window), SW_MINIMIZE);
        Pump();
    }
    void Move(const std::string& window, int left, int top) override {
        SetWindowPos(Form(window), nullptr, left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    void CoverWithOtherProgram() override {
        if (!other_) {
            other_ = CreateWindowExW(0, kOtherClassName, L"another program",
                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 1000, 800, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        }
        SetWindowPos(other_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(other_);
        Pump();
    }

    // Posted to the focused control, so that the event loop routes the key as it routes a
    // typed one.
    void PressKey(const std::string& window, Key key) override {
        const HWND focus = GetFocus();
        if (!focus || GetAncestor(focus, GA_ROOT) != Form(window)) return;
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = key == Key::ShiftTab ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(focus, WM_KEYDOWN, VirtualKeyOf(key), 1);
        PostMessageW(focus, WM_KEYUP, VirtualKeyOf(key), 0xC0000001);
        Flush();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }

    bool IsShown(const std::string& window) override {
        const HWND form = Form(window);
        return form && IsWindowVisible(form) && !IsIconic(form);
    }
    std::string FrontWindow() override {
        // The topmost visible one of ours and the other program's: by the window manager's
        // stacking where it keeps all of them, else by the Win32 z-order.
        if (const std::string front = FrontByXStacking(); !front.empty()) return front;
        const auto shown = Candidates();
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            for (const auto& [candidate, name] : shown) {
                if (window == candidate) return name;
            }
        }
        return {};
    }
    std::string FocusedControl(const std::string& window) override {
        return NameOf(window, GetFocus());
    }
    PixelRect Frame(const std::string& window) override {
        RECT frame{};
        GetWindowRect(Form(window), &frame);
        return ToPixelRect(frame);
    }
    PixelRect WorkArea() override {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return ToPixelRect(area);
    }

    std::optional<Picture> Capture(const std::string& window, const std::string& control) override {
        return OnScreen(Control(window, control));
    }
    std::optional<bool> HasGlyphs(const std::string& window, const std::string& control,
                                  const std::string& text) override {
        const ControlIndex index = IndexIn(DescriptionOf(window), control);
        const ControlDescription& described = DescriptionOf(window).Controls[index];
        const win32::FormWindow* form = win32::FormWindow::FromHandle(Form(window));
        if (!form || described.Kind == ControlKind::Timer) return true;  // a timer draws nothing
        // The font the form makes for the control: the same face at the form's DPI.
        const LOGFONTW logFont =
            LogFontFor(described.Font ? *described.Font : kDefaultWindowFont, form->Dpi());
        const UniqueFont font(CreateFontIndirectW(&logFont));
        const ScreenDc screen;
        const ScopedSelection selection(screen.Get(), font.get());
        const std::wstring wide = Widen(text);
        std::vector<WORD> glyphs(wide.size());
        const DWORD converted =
            GetGlyphIndicesW(screen.Get(), wide.c_str(), static_cast<int>(wide.size()),
                             glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
        return converted != GDI_ERROR &&
               std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
    }
    std::optional<std::pair<int, int>> RowWidth(const std::string& window,
                                                const std::string& control, int row) override {
        const HWND list = Control(window, control);
        std::wstring text(SendMessageW(list, LB_GETTEXTLEN, row, 0), L'\0');
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        const ScreenDc screen;
        const ScopedSelection font(screen.Get(),
                                   reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
        // A list draws its rows from two pixels in, within the client area beside the bar.
        return std::make_pair(static_cast<int>(extent.cx) + 2,
                              static_cast<int>(item.right - item.left));
    }
    bool PressAsScreenReader(const std::string& window, const std::string& control) override {
        const bool pressed = DoDefaultAction(Control(window, control));
        Flush();
        return pressed;
    }
    std::optional<std::string> AccessibleText(const std::string& window,
                                              const std::string& control) override {
        return AccessibleValueOf(Control(window, control)).value_or(std::string());
    }
    std::optional<std::string> AccessibleName(const std::string& window,
                                              const std::string& control) override {
        // Labels drawn on the form's surface alone have no object of their own.
        return AccessibleNameOf(Control(window, control));
    }

    bool RunLoopWith(const std::function<void()>& action,
                     const std::function<void()>& loop) override {
        pendingAction_ = &action;
        stoppedLoop_ = false;
        const UINT_PTR start = SetTimer(nullptr, 0, 0, RunPendingAction);
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, StopLoop);
        loop();
        KillTimer(nullptr, start);
        KillTimer(nullptr, watchdog);
        pendingAction_ = nullptr;
        return !stoppedLoop_;
    }
    int NativeWindows() override {
        Flush();
        return static_cast<int>(ThreadWindows(kFormClassName).size());
    }
    std::optional<std::vector<std::pair<std::string, std::string>>> ToolTips(
        const std::string& window) override {
        // A form makes its tips once it has been painted.
        const HWND form = Form(window);
        UpdateWindow(form);
        Flush();
        std::vector<std::pair<std::string, std::string>> tips;
        for (const HWND tip : ThreadWindows(TOOLTIPS_CLASSW)) {
            const bool ours = GetWindow(tip, GW_OWNER) == form;
            for (LRESULT i = 0; ours && i < SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0); ++i) {
                wchar_t text[128] = {};
                TTTOOLINFOW tool{};
                tool.cbSize = sizeof tool;
                tool.lpszText = text;
                SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool));
                tips.emplace_back(NameOf(window, reinterpret_cast<HWND>(tool.uId)), Narrow(text));
            }
        }
        return tips;
    }

private:
    std::vector<std::pair<HWND, std::string>> Candidates() const {
        std::vector<std::pair<HWND, std::string>> shown;
        if (other_ && IsWindowVisible(other_) && !IsIconic(other_))
            shown.emplace_back(other_, "other");
        for (const std::string name : {"Form1", "Text"}) {
            const HWND form = Form(name);
            if (form && IsWindowVisible(form) && !IsIconic(form)) shown.emplace_back(form, name);
        }
        return shown;
    }
    std::string FrontByXStacking() const {
        const std::vector<unsigned long long> order = XStackingOrder();
        std::string front;
        std::size_t frontAt = 0;
        for (const auto& [window, name] : Candidates()) {
            const auto found = std::find(order.begin(), order.end(), XWindowOf(window));
            if (found == order.end()) return {};  // not managed: the list says nothing of it
            const auto at = static_cast<std::size_t>(found - order.begin()) + 1;
            if (at > frontAt) {
                frontAt = at;
                front = name;
            }
        }
        return front;
    }
    HWND Form(const std::string& window) const {
        const std::vector<HWND> forms = FormsWithCaption(Widen(DescriptionOf(window).Caption));
        return forms.empty() ? nullptr : forms.front();
    }
    // A control's name in its description; empty for a window that is none of its controls.
    std::string NameOf(const std::string& window, HWND control) const {
        if (!control || GetParent(control) != Form(window)) return {};
        const auto index = static_cast<ControlIndex>(GetDlgCtrlID(control) - kFirstControlId);
        const WindowDescription& description = DescriptionOf(window);
        return index < description.Controls.size() ? std::string(description.Controls[index].Name)
                                                   : std::string();
    }
    HWND Control(const std::string& window, const std::string& control) const {
        return GetDlgItem(Form(window), ControlId(IndexIn(DescriptionOf(window), control)));
    }
    static POINT Centre(HWND window) {
        RECT area{};
        GetClientRect(window, &area);
        return {area.right / 2, area.bottom / 2};
    }

    static void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (pendingAction_) (*pendingAction_)();
    }
    static void CALLBACK StopLoop(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        stoppedLoop_ = true;
        PostQuitMessage(1);
    }

    Win32WindowSystem system_;
    HWND other_ = nullptr;
    static inline const std::function<void()>* pendingAction_ = nullptr;
    static inline bool stoppedLoop_ = false;
};

}  // namespace

const Backend& BackendUnderTest() {
    static const Backend win32{"Win32", [] { return std::make_unique<Win32Driver>(); }};
    return win32;
}

}  // namespace avo::conformance
