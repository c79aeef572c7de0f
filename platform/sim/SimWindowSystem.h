#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Keyboard.h"
#include "platform/WindowDefaults.h"
#include "platform/WindowSystem.h"

namespace avo::sim {

// The window-system operations, for failure injection and the call log.
enum class Operation {
    Load,
    Show,
    Destroy,
    SetText,
    GetText,
    IsRowSelected,
    GetFontSize,
    SetFontSize,
    GetTimerEnabled,
    SetTimerEnabled,
    StartProcess
};
const char* OperationName(Operation operation);

struct ProcessStart {
    std::string CommandLine;
    int ShowCode;
};

// One window-system call as the program made it. Window and Control are empty for calls
// that concern neither (StartProcess), Control for calls on the window itself.
struct Call {
    std::string Window;
    std::string Control;
    Operation Op;
    Status Result;
};

class SimWindow;

// An in-memory window system for tests: windows and controls built from the same
// descriptions as on screen, scripted user input, a virtual clock that fires enabled timers
// in time order, a record of started processes, a pluggable font system and injectable
// failures. Windows and controls are named as in their descriptions.
class SimWindowSystem final : public WindowSystem {
public:
    SimWindowSystem();
    ~SimWindowSystem() override;

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override;
    Status StartProcess(std::string_view commandLine, int showCode,
                        std::uint32_t& processId) override;
    void RunEventLoop() override {}  // tests drive events themselves
    void Quit() override { quitRequested_ = true; }

    // The font system decides what size a label's font reports after a write; by default
    // exactly what was written.
    using FontSystem = std::function<PointSize(PointSize written)>;
    void SetFontSystem(FontSystem fontSystem) { fontSystem_ = std::move(fontSystem); }
    static PointSize WholePixelsAt96Dpi(PointSize written);

    // After `skip` successful ones, the next `times` calls of an operation on a window's
    // control (empty control: the window itself; empty window: the platform) fail with
    // `status`; times < 0 means always.
    void InjectFailure(std::string window, std::string control, Operation operation,
                       Status status = StatusFailed, int times = 1, int skip = 0);
    void ClearFailures() { failures_.clear(); }

    // The screen's work area that windows are placed in.
    static constexpr PixelRect kScreenWorkArea{0, 0, 1280, 1024};

    // Scripted user input. Each returns false, doing nothing, when the window is not loaded.
    // A new selection is reported as a click on the list; -1 clears it and reports nothing.
    bool SelectRow(const std::string& window, const std::string& control, int row);
    bool Click(const std::string& window, const std::string& control);
    // The button goes down over one control and comes up over another (a drag): a click
    // only when both are the same.
    bool PressAndRelease(const std::string& window, const std::string& pressOn,
                         const std::string& releaseOn);
    // A key typed on the focused control: Tab moves the focus, a key that presses the
    // control (KeyPresses) is its click.
    bool PressKey(const std::string& window, Key key);
    bool Minimise(const std::string& window);                 // false when not shown
    bool Move(const std::string& window, int left, int top);  // the frame's top-left corner
    // Another program's window comes up in front of every window.
    static constexpr const char* kOtherProgram = "(other program)";
    void RaiseOtherProgram() { BringToFront(kOtherProgram); }
    // The programs that StartProcess finds; any other fails as not found.
    static constexpr std::string_view kInstalledProgram = "explorer.exe";
    bool CloseCommand(const std::string& window);
    // Moves the virtual clock on, firing every timer that falls due on the way, in order.
    void AdvanceTime(std::int64_t milliseconds);
    std::int64_t Now() const { return now_; }

    // What the user would see.
    bool IsLoaded(const std::string& window) const;
    bool IsVisible(const std::string& window) const;
    bool IsMinimised(const std::string& window) const;
    std::string FrontWindow() const;  // empty when no window is shown, else kOtherProgram
                                      // or a window's name
    std::string FocusedControl(const std::string& window) const;  // empty when none has it
    PixelRect WindowFrame(const std::string& window) const;       // frame included
    std::string Text(const std::string& window, const std::string& control) const;
    int SelectedRow(const std::string& window, const std::string& control) const;
    PointSize FontSize(const std::string& window, const std::string& control) const;
    bool TimerEnabled(const std::string& window, const std::string& control) const;
    // When an enabled timer fires next on the virtual clock.
    std::int64_t TimerDueAt(const std::string& window, const std::string& control) const;
    int LoadCount(const std::string& window) const;
    std::size_t NativeWindowCount() const { return live_.size(); }
    const std::vector<ProcessStart>& Processes() const { return processes_; }
    bool QuitRequested() const { return quitRequested_; }
    const std::vector<Call>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

private:
    friend class SimWindow;

    struct Failure {
        std::string Window;
        std::string Control;
        Operation Op;
        Status Code;
        int Remaining;
        int Skip;
    };

    Status Record(const std::string& window, const std::string& control, Operation operation);
    SimWindow* Find(const std::string& window) const;
    SimWindow& Expect(const std::string& window) const;
    void Forget(SimWindow* window);
    void BringToFront(const std::string& window);
    PixelRect PlaceNew(const WindowDescription& description) const;

    FontSystem fontSystem_;
    std::vector<Failure> failures_;
    std::vector<Call> calls_;
    std::vector<ProcessStart> processes_;
    std::map<std::string, SimWindow*> live_;
    std::map<std::string, int> loadCounts_;
    std::vector<std::string> zOrder_;  // front-most last
    std::int64_t now_ = 0;
    std::uint64_t loadSequence_ = 0;
    std::uint32_t nextProcessId_ = 1000;
    bool quitRequested_ = false;
};

}  // namespace avo::sim
