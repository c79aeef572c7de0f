#include "platform/sim/SimWindowSystem.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

#include "platform/Keyboard.h"
#include "platform/WindowDefaults.h"
#include "platform/sim/SimWindow.h"

namespace avo::sim {
namespace {

// The frame that a real window manager adds around a fixed single-border window's client
// area; a borderless window has none.
constexpr int kFrameSide = 4;
constexpr int kFrameTop = 24;

}  // namespace

const char* OperationName(Operation operation) {
    switch (operation) {
        case Operation::Load: return "Load";
        case Operation::Show: return "Show";
        case Operation::Destroy: return "Destroy";
        case Operation::SetText: return "SetText";
        case Operation::GetText: return "GetText";
        case Operation::IsRowSelected: return "IsRowSelected";
        case Operation::GetFontSize: return "GetFontSize";
        case Operation::SetFontSize: return "SetFontSize";
        case Operation::GetTimerEnabled: return "GetTimerEnabled";
        case Operation::SetTimerEnabled: return "SetTimerEnabled";
        case Operation::StartProcess: return "StartProcess";
    }
    return "?";
}

SimWindowSystem::SimWindowSystem() = default;

SimWindowSystem::~SimWindowSystem() = default;

Status SimWindowSystem::Load(const WindowDescription& description, EventSink& sink,
                             std::unique_ptr<NativeWindow>& window) {
    const std::string name(description.Name);
    if (Status status = Record(name, "", Operation::Load); Failed(status)) return status;
    if (Find(name)) return StatusInvalidArgument;  // one native window per class at a time
    auto simWindow = std::make_unique<SimWindow>(*this, description, sink, ++loadSequence_);
    simWindow->Place(PlaceNew(description));
    live_[name] = simWindow.get();
    ++loadCounts_[name];
    window = std::move(simWindow);
    return StatusOk;
}

Status SimWindowSystem::StartProcess(std::string_view commandLine, int showCode,
                                     std::uint32_t& processId) {
    if (Status status = Record("", "", Operation::StartProcess); Failed(status)) return status;
    const std::string_view program = commandLine.substr(0, commandLine.find(' '));
    if (program != kInstalledProgram) return StatusFileNotFound;
    processes_.push_back({std::string(commandLine), showCode});
    processId = nextProcessId_++;
    return StatusOk;
}

PointSize SimWindowSystem::WholePixelsAt96Dpi(PointSize written) {
    // 96 DPI: a pixel is 0.75 point. Round half up to a whole pixel, as GDI does.
    const std::int64_t quarterPoints = 7500;
    const std::int64_t pixels =
        (written.TenThousandths() * 2 + quarterPoints) / (2 * quarterPoints);
    return PointSize::FromTenThousandths(pixels * quarterPoints);
}

void SimWindowSystem::InjectFailure(std::string window, std::string control, Operation operation,
                                    Status status, int times, int skip) {
    failures_.push_back({std::move(window), std::move(control), operation, status, times, skip});
}

Status SimWindowSystem::Record(const std::string& window, const std::string& control,
                               Operation operation) {
    Status result = StatusOk;
    for (Failure& failure : failures_) {
        if (failure.Remaining != 0 && failure.Window == window && failure.Control == control &&
            failure.Op == operation) {
            if (failure.Skip > 0) {
                --failure.Skip;
                break;
            }
            if (failure.Remaining > 0) --failure.Remaining;
            result = failure.Code;
            break;
        }
    }
    calls_.push_back({window, control, operation, result});
    return result;
}

SimWindow* SimWindowSystem::Find(const std::string& window) const {
    const auto found = live_.find(window);
    if (found == live_.end() || found->second->Destroyed()) return nullptr;
    return found->second;
}

SimWindow& SimWindowSystem::Expect(const std::string& window) const {
    SimWindow* found = Find(window);
    if (!found) throw std::invalid_argument(window + " is not loaded");
    return *found;
}

void SimWindowSystem::Forget(SimWindow* window) {
    const auto found = live_.find(window->Name());
    if (found != live_.end() && found->second == window) live_.erase(found);
    std::erase(zOrder_, window->Name());
}

void SimWindowSystem::BringToFront(const std::string& window) {
    std::erase(zOrder_, window);
    zOrder_.push_back(window);
}

PixelRect SimWindowSystem::PlaceNew(const WindowDescription& description) const {
    const bool framed = HasTitleBar(description.Border);
    const int width = TwipsToPixels(description.ClientWidth) + (framed ? 2 * kFrameSide : 0);
    const int height =
        TwipsToPixels(description.ClientHeight) + (framed ? kFrameTop + kFrameSide : 0);
    // The front window is the active one.
    std::vector<PlacementCandidate> others;
    for (const auto& [name, window] : live_) {
        if (window->Destroyed() || name == description.Name) continue;
        others.push_back(
            {window->Frame(), name == FrontWindow(), window->Visible() && !window->Minimised()});
    }
    const std::optional<std::size_t> owner = ChooseOwner(others);
    return InitialPlacement(description.Position, width, height, kScreenWorkArea,
                            owner ? std::optional(others[*owner].Frame) : std::nullopt);
}

bool SimWindowSystem::SelectRow(const std::string& window, const std::string& control, int row) {
    SimWindow* target = Find(window);
    if (!target) return false;
    const ControlIndex index = target->IndexOf(control);
    if (row < -1 || row >= target->RowCount(index)) throw std::out_of_range("no such row");
    ControlState& state = target->State(index);
    const bool changed = state.SelectedRow != row;
    state.SelectedRow = row;
    // Like a real list, a new selection is reported as a click on the list.
    if (changed && row >= 0) target->Sink().OnEvent(index, Event::Click);
    return true;
}

bool SimWindowSystem::Click(const std::string& window, const std::string& control) {
    return PressAndRelease(window, control, control);
}

bool SimWindowSystem::PressAndRelease(const std::string& window, const std::string& pressOn,
                                      const std::string& releaseOn) {
    SimWindow* target = Find(window);
    if (!target) return false;
    const ControlIndex pressed = target->IndexOf(pressOn);
    // A press dragged off its control before the release is no click.
    if (pressOn == releaseOn) target->Sink().OnEvent(pressed, Event::Click);
    return true;
}

bool SimWindowSystem::PressKey(const std::string& window, Key key) {
    SimWindow* target = Find(window);
    if (!target) return false;
    const std::optional<ControlIndex> focus = target->Focus();
    if (!focus) return true;
    if (key == Key::Tab || key == Key::ShiftTab) {
        const std::vector<ControlIndex> order = TabOrder(target->Description());
        const auto at = std::find(order.begin(), order.end(), *focus) - order.begin();
        const auto step = key == Key::Tab ? 1 : static_cast<std::ptrdiff_t>(order.size()) - 1;
        target->Focus(order[(at + step) % static_cast<std::ptrdiff_t>(order.size())]);
    } else if (KeyPresses(key, target->Description().Controls[*focus].Kind)) {
        target->Sink().OnEvent(*focus, Event::Click);
    }
    return true;
}

bool SimWindowSystem::Minimise(const std::string& window) {
    SimWindow* target = Find(window);
    if (!target || !target->Visible()) return false;
    target->Minimise();
    return true;
}

bool SimWindowSystem::Move(const std::string& window, int left, int top) {
    SimWindow* target = Find(window);
    if (!target) return false;
    PixelRect frame = target->Frame();
    frame.Left = left;
    frame.Top = top;
    target->Place(frame);
    return true;
}

bool SimWindowSystem::CloseCommand(const std::string& window) {
    SimWindow* target = Find(window);
    if (!target) return false;
    target->Sink().OnCloseCommand();
    return true;
}

void SimWindowSystem::AdvanceTime(std::int64_t milliseconds) {
    const std::int64_t end = now_ + milliseconds;
    for (;;) {
        // The earliest due timer; ties go to the window loaded first, then to stored order.
        SimWindow* dueWindow = nullptr;
        ControlIndex dueControl = 0;
        std::int64_t dueAt = std::numeric_limits<std::int64_t>::max();
        for (const auto& [name, window] : live_) {
            if (window->Destroyed()) continue;
            for (ControlIndex i = 0; i < window->Description().Controls.size(); ++i) {
                const ControlState& state = window->State(i);
                if (!state.TimerEnabled || state.TimerDue > end) continue;
                const bool earlier =
                    state.TimerDue < dueAt ||
                    (state.TimerDue == dueAt && window->Sequence() < dueWindow->Sequence());
                if (earlier) {
                    dueWindow = window;
                    dueControl = i;
                    dueAt = state.TimerDue;
                }
            }
        }
        if (!dueWindow) break;
        now_ = dueAt;
        dueWindow->State(dueControl).TimerDue +=
            dueWindow->Description().Controls[dueControl].IntervalMs;
        // The tick may unload the window: nothing of it is touched afterwards.
        dueWindow->Sink().OnEvent(dueControl, Event::Timer);
    }
    now_ = end;
}

bool SimWindowSystem::IsLoaded(const std::string& window) const { return Find(window) != nullptr; }

bool SimWindowSystem::IsVisible(const std::string& window) const {
    const SimWindow* found = Find(window);
    return found && found->Visible();
}

bool SimWindowSystem::IsMinimised(const std::string& window) const {
    const SimWindow* found = Find(window);
    return found && found->Minimised();
}

std::string SimWindowSystem::FrontWindow() const {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
        if (*it == kOtherProgram || (IsVisible(*it) && !IsMinimised(*it))) return *it;
    }
    return {};
}

std::string SimWindowSystem::FocusedControl(const std::string& window) const {
    const SimWindow& target = Expect(window);
    const std::optional<ControlIndex> focus = target.Focus();
    return focus ? std::string(target.Description().Controls[*focus].Name) : std::string();
}

PixelRect SimWindowSystem::WindowFrame(const std::string& window) const {
    return Expect(window).Frame();
}

std::string SimWindowSystem::Text(const std::string& window, const std::string& control) const {
    SimWindow& target = Expect(window);
    return target.State(target.IndexOf(control)).Text;
}

int SimWindowSystem::SelectedRow(const std::string& window, const std::string& control) const {
    SimWindow& target = Expect(window);
    return target.State(target.IndexOf(control)).SelectedRow;
}

PointSize SimWindowSystem::FontSize(const std::string& window, const std::string& control) const {
    SimWindow& target = Expect(window);
    return target.State(target.IndexOf(control)).FontSize;
}

bool SimWindowSystem::TimerEnabled(const std::string& window, const std::string& control) const {
    SimWindow& target = Expect(window);
    return target.State(target.IndexOf(control)).TimerEnabled;
}

std::int64_t SimWindowSystem::TimerDueAt(const std::string& window,
                                         const std::string& control) const {
    SimWindow& target = Expect(window);
    return target.State(target.IndexOf(control)).TimerDue;
}

int SimWindowSystem::LoadCount(const std::string& window) const {
    const auto found = loadCounts_.find(window);
    return found == loadCounts_.end() ? 0 : found->second;
}

}  // namespace avo::sim
