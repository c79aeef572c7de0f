#pragma once

#include <array>
#include <memory>

#include "app/Window.h"
#include "app/WindowClass.h"

namespace avo {

// One slot per window class, empty at start. A slot is filled on the first Instance and never
// emptied, so there is never a second instance of either window.
class WindowRegistry {
public:
    WindowRegistry(Shell& shell, const ProgramDescription& program);

    std::shared_ptr<Window> Instance(WindowName name);
    // The instance if it has been created, else null; creates nothing.
    Window* Created(WindowName name) const;
    bool AnyLoaded() const;

private:
    Shell& shell_;
    const ProgramDescription& program_;
    std::array<std::shared_ptr<Window>, kWindowClassCount> slots_;
};

}  // namespace avo
