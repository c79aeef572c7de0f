#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "app/Window.h"
#include "app/WindowClass.h"
#include "app/WindowRegistry.h"
#include "platform/WindowSystem.h"

namespace avo {

class PlatformError;

// Where the shell writes its one-line reports of errors that left a handler. The program
// writes to standard error; tests capture the lines.
using DiagnosticWriter = std::function<void(std::string_view line)>;
void WriteToStandardError(std::string_view line);

// Owns the process: the start-up window, the registry of the two windows, the four lifetime
// operations that handlers use, and the one place where an error leaving a handler is caught.
//
// Event-loop rules: a handler runs to completion; after an outermost handler returns, a
// program with no window loaded ends; the window system's close command unloads exactly as
// Unload does; EndProgram ends at once and no handler runs after it.
class Shell {
public:
    Shell(WindowSystem& system, const ProgramDescription& program,
          DiagnosticWriter writeDiagnostic = WriteToStandardError);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // The start-up sequence followed by the event loop; returns the process exit code.
    int Run();
    // The start-up sequence alone: the start-up window is loaded and shown.
    void Start();
    bool IsRunning() const { return running_; }

    // The lifetime operations.
    std::shared_ptr<Window> Instance(WindowName name);
    void ShowModeless(Window& window);
    void Unload(Window& window);
    [[noreturn]] void EndProgram();

    // Starts a program without waiting; gives back its process id.
    std::uint32_t StartProcess(std::string_view commandLine, int showCode);

    const WindowRegistry& Registry() const { return registry_; }

    // Called by the windows when the window system reports their events.
    void Dispatch(Window& window, ControlIndex control, Event event);
    void CloseCommand(Window& window);

private:
    void Load(Window& window);
    template <class Body>
    void RunGuarded(Window* window, std::string_view handlerName, Body&& body);
    void Report(Window* window, std::string_view handlerName, const PlatformError& error);
    void EndIfNoWindowLoaded();
    void FinishProgram();
    void DestroyNative(Window& window);

    WindowSystem& system_;
    const ProgramDescription& program_;
    DiagnosticWriter writeDiagnostic_;
    WindowRegistry registry_;
    bool running_ = false;
    int handlerDepth_ = 0;
};

}  // namespace avo
