#include "ConformanceDriver.h"

#include "platform/sim/SimWindowSystem.h"

namespace avo::conformance {
namespace {

// The simulated window system, driven by its scripted input and its virtual clock. It draws
// no pixels and has no fonts, so the cases about them are out of its reach.
class SimDriver final : public Driver {
public:
    WindowSystem& System() override { return sim_; }
    void Flush() override {}
    void Pump() override {}
    void Wait(std::chrono::milliseconds time) override { sim_.AdvanceTime(time.count()); }

    void Click(const std::string& window, const std::string& control) override {
        sim_.Click(window, control);
    }
    void PressDragOffRelease(const std::string& window, const std::string& control) override {
        sim_.PressAndRelease(window, control, "");
    }
    void CloseCommand(const std::string& window) override { sim_.CloseCommand(window); }
    void ClickRow(const std::string& window, const std::string& control, int row) override {
        sim_.SelectRow(window, control, row);
    }
    void Minimise(const std::string& window) override { sim_.Minimise(window); }
    void Move(const std::string& window, int left, int top) override {
        sim_.Move(window, left, top);
    }
    void CoverWithOtherProgram() override { sim_.RaiseOtherProgram(); }
    void PressKey(const std::string& window, Key key) override { sim_.PressKey(window, key); }

    bool IsShown(const std::string& window) override {
        return sim_.IsVisible(window) && !sim_.IsMinimised(window);
    }
    std::string FrontWindow() override {
        const std::string front = sim_.FrontWindow();
        return front == sim::SimWindowSystem::kOtherProgram ? "other" : front;
    }
    std::string FocusedControl(const std::string& window) override {
        return sim_.FocusedControl(window);
    }
    PixelRect Frame(const std::string& window) override { return sim_.WindowFrame(window); }
    PixelRect WorkArea() override { return sim::SimWindowSystem::kScreenWorkArea; }

    std::optional<Picture> Capture(const std::string&, const std::string&) override { return {}; }
    std::optional<bool> HasGlyphs(const std::string&, const std::string&,
                                  const std::string&) override {
        return {};
    }
    std::optional<std::pair<int, int>> RowWidth(const std::string&, const std::string&,
                                                int) override {
        return {};
    }
    bool PressAsScreenReader(const std::string& window, const std::string& control) override {
        return sim_.Click(window, control);
    }
    std::optional<std::string> AccessibleText(const std::string& window,
                                              const std::string& control) override {
        return sim_.Text(window, control);
    }
    std::optional<std::string> AccessibleName(const std::string&, const std::string&) override {
        return {};  // no screen reader reaches the simulated windows
    }

    // The simulated loop returns at once; the program has ended by then or not.
    bool RunLoopWith(const std::function<void()>& action,
                     const std::function<void()>& loop) override {
        loop();
        action();
        return sim_.QuitRequested();
    }
    int NativeWindows() override { return static_cast<int>(sim_.NativeWindowCount()); }
    sim::SimWindowSystem* Simulated() override { return &sim_; }
    std::optional<std::vector<std::pair<std::string, std::string>>> ToolTips(
        const std::string&) override {
        return {};
    }

private:
    sim::SimWindowSystem sim_;
};

}  // namespace

const Backend& BackendUnderTest() {
    static const Backend sim{"Sim", [] { return std::make_unique<SimDriver>(); }};
    return sim;
}

}  // namespace avo::conformance
