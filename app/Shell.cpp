#include "app/Shell.h"

#include <cstdio>
#include <string>

#include "platform/PlatformError.h"

namespace avo {
namespace {

// Thrown by EndProgram to leave the running handler at once; only RunGuarded catches it.
struct ProgramEnded {};

constexpr std::string_view kStartUp = "start-up";
constexpr std::string_view kCloseCommand = "close command";

// The program a command line starts, as the user would name it in a report: up to the
// closing quote when it is quoted, else up to the first blank.
std::string ProgramOf(std::string_view commandLine) {
    const std::size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos) return "(empty command line)";
    commandLine.remove_prefix(start);
    if (commandLine.front() == '"') {
        commandLine.remove_prefix(1);
        return std::string(commandLine.substr(0, commandLine.find('"')));
    }
    return std::string(commandLine.substr(0, commandLine.find_first_of(" \t")));
}

}  // namespace

// Plain stdio: the program then carries none of the iostream machinery.
void WriteToStandardError(std::string_view line) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
}

Shell::Shell(WindowSystem& system, const ProgramDescription& program,
             DiagnosticWriter writeDiagnostic)
    : system_(system),
      program_(program),
      writeDiagnostic_(std::move(writeDiagnostic)),
      registry_(*this, program) {}

Shell::~Shell() {
    for (int i = 0; i < kWindowClassCount; ++i) {
        if (Window* window = registry_.Created(static_cast<WindowName>(i))) window->native_.reset();
    }
}

int Shell::Run() {
    Start();
    if (running_) system_.RunEventLoop();
    return 0;
}

void Shell::Start() {
    running_ = true;
    RunGuarded(nullptr, kStartUp, [this] { ShowModeless(*Instance(program_.StartUpWindow)); });
}

std::shared_ptr<Window> Shell::Instance(WindowName name) { return registry_.Instance(name); }

void Shell::ShowModeless(Window& window) {
    const bool loadedHere = !window.IsLoaded();
    if (loadedHere) {
        Load(window);
        if (!window.IsLoaded()) return;  // the Load handler unloaded its own window
    }
    const Status shown = window.native_->Show();
    // A window that was loaded here but cannot be shown is unloaded again, so that no
    // invisible window keeps the program (and its timers) running with nothing on screen.
    if (Failed(shown) && loadedHere) DestroyNative(window);
    Check(shown, std::string(window.Name()), "Form", "Show");
}

void Shell::Load(Window& window) {
    std::unique_ptr<NativeWindow> native;
    Check(system_.Load(window.Class().Description, window, native), std::string(window.Name()),
          "Form", "Load");
    window.native_ = std::move(native);
    // The Load handler is a handler of its own: an error that leaves it is reported and the
    // window still opens (a browser that cannot start must not keep it closed).
    if (const Binding* onLoad = window.Class().FindBinding(kFormControl, Event::Load)) {
        RunGuarded(&window, onLoad->HandlerName, [&] { onLoad->Run(*this, window); });
    }
}

void Shell::Unload(Window& window) {
    if (!window.IsLoaded()) return;
    Check(window.native_->Destroy(), std::string(window.Name()), "Form", "Unload");
    window.native_.reset();
}

void Shell::EndProgram() { throw ProgramEnded{}; }

std::uint32_t Shell::StartProcess(std::string_view commandLine, int showCode) {
    std::uint32_t processId = 0;
    const Status started = system_.StartProcess(commandLine, showCode, processId);
    if (Failed(started)) {
        // The report names what was really run (on Linux, the opener that stands in for the
        // Windows shell), so that a user knows what to look for.
        const std::string program = system_.ProgramStartedBy(commandLine);
        throw PlatformError(started, program.empty() ? ProgramOf(commandLine) : program, "Process",
                            "StartProcess");
    }
    return processId;
}

void Shell::Dispatch(Window& window, ControlIndex control, Event event) {
    if (!running_ || !window.IsLoaded()) return;
    const Binding* binding = window.Class().FindBinding(control, event);
    if (!binding) return;
    RunGuarded(&window, binding->HandlerName, [&] { binding->Run(*this, window); });
}

void Shell::CloseCommand(Window& window) {
    if (!running_) return;
    RunGuarded(&window, kCloseCommand, [&] { Unload(window); });
}

// The one catch site. A PlatformError ends the handler at the failing step and is reported;
// EndProgram unwinds to the outermost handler and ends the program there.
template <class Body>
void Shell::RunGuarded(Window* window, std::string_view handlerName, Body&& body) {
    // The handler keeps its own window alive even if it unloads it on the way.
    const std::shared_ptr<Window> keepAlive = window ? window->shared_from_this() : nullptr;
    ++handlerDepth_;
    try {
        body();
    } catch (const PlatformError& error) {
        Report(window, handlerName, error);
    } catch (const ProgramEnded&) {
        if (--handlerDepth_ > 0) throw;
        FinishProgram();
        return;
    }
    if (--handlerDepth_ == 0) EndIfNoWindowLoaded();
}

void Shell::Report(Window* window, std::string_view handlerName, const PlatformError& error) {
    std::string line = "avodevivu: ";
    line.append(window ? window->Name() : "program").append(".").append(handlerName);
    line.append(": ").append(error.what());
    writeDiagnostic_(line);
}

void Shell::EndIfNoWindowLoaded() {
    if (running_ && !registry_.AnyLoaded()) {
        running_ = false;
        system_.Quit();
    }
}

// Ends the program at once: every window closes and nothing is asked.
void Shell::FinishProgram() {
    for (int i = 0; i < kWindowClassCount; ++i) {
        if (Window* window = registry_.Created(static_cast<WindowName>(i))) DestroyNative(*window);
    }
    running_ = false;
    system_.Quit();
}

// Destroys a native window whatever its Destroy reports: used where the window must go
// (the program ends, a load is undone) and a failure would change nothing.
void Shell::DestroyNative(Window& window) {
    if (!window.native_) return;
    window.native_->Destroy();
    window.native_.reset();
}

}  // namespace avo
