#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowDefaults.h"
#include "platform/sim/SimWindowSystem.h"

namespace avo::sim {

// What the simulated window system keeps of one control.
struct ControlState {
    std::string Text;
    int SelectedRow = -1;
    PointSize FontSize = kDefaultWindowFont.Size;
    bool TimerEnabled = false;
    std::int64_t TimerDue = 0;
};

// One loaded window of the simulated window system. Every operation is recorded and may
// fail by injection before it answers by the rules every window system keeps.
class SimWindow final : public NativeWindow {
public:
    SimWindow(SimWindowSystem& system, const WindowDescription& description, EventSink& sink,
              std::uint64_t sequence);
    ~SimWindow() override { system_.Forget(this); }

    Status Show() override;
    Status Destroy() override;
    Status SetText(ControlIndex index, std::string_view text) override;
    Status GetText(ControlIndex index, std::string& text) override;
    Status IsRowSelected(ControlIndex index, int row, bool& selected) override;
    Status GetFontSize(ControlIndex index, PointSize& size) override;
    Status SetFontSize(ControlIndex index, PointSize size) override;
    Status GetTimerEnabled(ControlIndex index, bool& enabled) override;
    Status SetTimerEnabled(ControlIndex index, bool enabled) override;

    std::string Name() const { return std::string(description_.Name); }
    bool Destroyed() const { return destroyed_; }
    bool Visible() const { return visible_; }
    bool Minimised() const { return minimised_; }
    void Minimise() { minimised_ = true; }
    std::optional<ControlIndex> Focus() const { return focus_; }
    void Focus(ControlIndex index) { focus_ = index; }
    const PixelRect& Frame() const { return frame_; }
    void Place(const PixelRect& frame) { frame_ = frame; }
    std::uint64_t Sequence() const { return sequence_; }
    EventSink& Sink() { return sink_; }
    const WindowDescription& Description() const { return description_; }
    ControlState& State(ControlIndex index) { return controls_[index]; }
    // Throws std::invalid_argument for a name the window does not have.
    ControlIndex IndexOf(const std::string& control) const;
    int RowCount(ControlIndex index) const {
        return static_cast<int>(description_.Controls[index].Rows.size());
    }

private:
    Status Record(std::string_view control, Operation operation) {
        return system_.Record(Name(), std::string(control), operation);
    }
    template <class Body>
    Status Apply(ControlIndex index, Operation operation, Body&& body);
    std::string SelectedRowText(ControlIndex index, const ControlState& state) const;

    SimWindowSystem& system_;
    const WindowDescription& description_;
    EventSink& sink_;
    std::uint64_t sequence_;
    std::vector<ControlState> controls_;
    std::optional<ControlIndex> focus_;
    PixelRect frame_;
    bool visible_ = false;
    bool minimised_ = false;
    bool destroyed_ = false;
};

}  // namespace avo::sim
