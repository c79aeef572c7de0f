#pragma once

#include <span>
#include <string_view>

#include "platform/WindowDescription.h"
#include "platform/WindowSystem.h"

namespace avo {

class Shell;
class Window;

enum class WindowName { Form1, Text };
inline constexpr int kWindowClassCount = 2;

// A handler receives the shell (for the lifetime operations) and the window it belongs to.
using Handler = void (*)(Shell& shell, Window& self);

// One row of a window's binding table. A window's own events are bound under "Form".
struct Binding {
    std::string_view Control;
    Event On;
    Handler Run;
    std::string_view HandlerName;
};

inline constexpr std::string_view kFormControlName = "Form";

struct WindowClass {
    WindowName Name;
    const WindowDescription& Description;
    std::span<const Binding> Bindings;

    // The binding for an event of a control, or null when the event has no handler.
    const Binding* FindBinding(ControlIndex control, Event event) const;
    // The position of a control in the description. A name the window does not have throws
    // std::logic_error naming the window and the control; no handler catches it, so the
    // program stops there.
    ControlIndex IndexOf(std::string_view controlName) const;
};

struct ProgramDescription {
    std::span<const WindowClass> Classes;  // in WindowName order
    WindowName StartUpWindow;
};

}  // namespace avo
