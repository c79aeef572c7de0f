#pragma once

#include "CapturedDiagnostics.h"

#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "app/Shell.h"

namespace avo::testing {

// Records every event a window reports, in order, as the program would receive it.
class RecordingSink final : public EventSink {
public:
    void OnEvent(ControlIndex control, Event event) override {
        Received.emplace_back(control, event);
    }
    void OnCloseCommand() override { ++CloseCommands; }

    std::vector<std::pair<ControlIndex, Event>> Received;
    int CloseCommands = 0;
};

// A window system whose process starts are recorded instead of made (thousands of About
// openings must not start thousands of browsers) and whose loads are counted per window. A
// simulated system starts nothing real: there starts may go through, the successful kept.
class StartRecorder final : public WindowSystem {
public:
    struct Start {
        std::string CommandLine;
        int ShowCode = 0;
    };

    explicit StartRecorder(WindowSystem& real, bool passStartsOn = false)
        : real_(real), passStartsOn_(passStartsOn) {}

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override {
        ++Loads[std::string(description.Name)];
        return real_.Load(description, sink, window);
    }
    Status StartProcess(std::string_view commandLine, int showCode,
                        std::uint32_t& processId) override {
        processId = static_cast<std::uint32_t>(Starts.size() + 1);
        if (passStartsOn_) {
            if (const Status status = real_.StartProcess(commandLine, showCode, processId);
                Failed(status)) {
                return status;
            }
        }
        Starts.push_back({std::string(commandLine), showCode});
        return StatusOk;
    }
    void RunEventLoop() override { real_.RunEventLoop(); }
    void Quit() override { real_.Quit(); }

    std::map<std::string, int> Loads;
    std::vector<Start> Starts;

private:
    WindowSystem& real_;
    bool passStartsOn_;
};

// The whole program over a window system, started through the shell: the main window is
// up. Every test that needs the program running starts it here.
struct RunningProgram {
    explicit RunningProgram(WindowSystem& system)
        : shell(system, AvodevivuProgram(), CaptureInto(diagnostics)) {
        shell.Start();
    }

    // The window's instance while it is loaded, else null.
    Window* Loaded(WindowName name) const {
        Window* window = shell.Registry().Created(name);
        return window && window->IsLoaded() ? window : nullptr;
    }
    ControlRef Control(WindowName window, const char* control) const {
        return Loaded(window)->Control(control);
    }
    // The command list's selected row, -1 for none.
    int SelectedRow() const {
        const ControlRef list = Control(WindowName::Form1, "List1");
        for (int row = 0; row < 49; ++row) {
            if (list.IsRowSelected(row)) return row;
        }
        return -1;
    }

    std::ostringstream diagnostics;
    Shell shell;
};

}  // namespace avo::testing
