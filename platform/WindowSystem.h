#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/PointSize.h"
#include "platform/Status.h"
#include "platform/WindowDescription.h"

namespace avo {

// The narrow seam between the program and a window system. The shell and the handlers see
// nothing else of Qt, Win32 or the simulated window system. Every operation reports a Status;
// the program's own wrappers (app/Window.h) turn a failure into a PlatformError.

// Controls are addressed by their position in the window description's control list.
using ControlIndex = std::size_t;
// Events of the window itself (Load) use this index; their bindings name the control "Form".
inline constexpr ControlIndex kFormControl = static_cast<ControlIndex>(-1);

enum class Event { Click, Load, Timer };
const char* EventName(Event event);

// Implemented by the program: the window system reports a loaded window's user input and
// timer ticks here, one at a time, on the GUI thread.
class EventSink {
public:
    virtual void OnEvent(ControlIndex control, Event event) = 0;
    // The window system's own close command (close box, Alt+F4).
    virtual void OnCloseCommand() = 0;

protected:
    ~EventSink() = default;
};

// One loaded window with its controls. Destroying the object frees the native window; a
// backend defers that when one of the window's own callbacks is still on the stack.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // Visible, active and in front of the program's other window.
    virtual Status Show() = 0;
    // Unload: gone from the screen, timers stopped, no more events reported.
    virtual Status Destroy() = 0;

    virtual Status SetText(ControlIndex control, std::string_view text) = 0;
    virtual Status GetText(ControlIndex control, std::string& text) = 0;
    virtual Status IsRowSelected(ControlIndex control, int row, bool& selected) = 0;
    virtual Status GetFontSize(ControlIndex control, PointSize& size) = 0;
    virtual Status SetFontSize(ControlIndex control, PointSize size) = 0;
    virtual Status GetTimerEnabled(ControlIndex control, bool& enabled) = 0;
    virtual Status SetTimerEnabled(ControlIndex control, bool enabled) = 0;
};

// Show codes for StartProcess, as Windows numbers them.
inline constexpr int kShowMinimizedActivated = 2;  // SW_SHOWMINIMIZED

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Builds a window and its controls from the description, hidden. Events go to sink,
    // which outlives the window.
    virtual Status Load(const WindowDescription& description, EventSink& sink,
                        std::unique_ptr<NativeWindow>& window) = 0;
    // Starts a program from a command line without waiting for it.
    virtual Status StartProcess(std::string_view commandLine, int showCode,
                                std::uint32_t& processId) = 0;
    // Dispatches events until Quit is called.
    virtual void RunEventLoop() = 0;
    // Makes RunEventLoop return once the current event has been handled.
    virtual void Quit() = 0;
};

// Each window-system backend that builds the program provides this. Null when the window
// system cannot be reached at all, after saying why on standard error.
std::unique_ptr<WindowSystem> CreateWindowSystem(int& argc, char** argv);

}  // namespace avo
