#include "platform/sim/SimWindow.h"

#include <stdexcept>

#include "platform/ControlStatus.h"
#include "platform/Keyboard.h"

namespace avo::sim {
namespace {

ControlOperation ControlOperationOf(Operation operation) {
    switch (operation) {
        case Operation::SetText: return ControlOperation::SetText;
        case Operation::GetText: return ControlOperation::GetText;
        case Operation::IsRowSelected: return ControlOperation::IsRowSelected;
        case Operation::GetFontSize: return ControlOperation::GetFontSize;
        case Operation::SetFontSize: return ControlOperation::SetFontSize;
        case Operation::GetTimerEnabled: return ControlOperation::GetTimerEnabled;
        default: return ControlOperation::SetTimerEnabled;
    }
}

}  // namespace

template <class Body>
Status SimWindow::Apply(ControlIndex index, Operation operation, Body&& body) {
    if (index >= controls_.size()) {
        return ControlStatus(description_, destroyed_, index, ControlOperationOf(operation));
    }
    const ControlDescription& control = description_.Controls[index];
    if (Status status = Record(control.Name, operation); Failed(status)) return status;
    const Status status =
        ControlStatus(description_, destroyed_, index, ControlOperationOf(operation));
    return Failed(status) ? status : body(controls_[index], control.Kind);
}

std::string SimWindow::SelectedRowText(ControlIndex index, const ControlState& state) const {
    if (state.SelectedRow < 0) return {};
    return std::string(description_.Controls[index].Rows[state.SelectedRow]);
}

SimWindow::SimWindow(SimWindowSystem& system, const WindowDescription& description, EventSink& sink,
                     std::uint64_t sequence)
    : system_(system), description_(description), sink_(sink), sequence_(sequence) {
    for (const ControlDescription& control : description.Controls) {
        ControlState state;
        state.Text = std::string(control.Text);
        if (control.Font) state.FontSize = control.Font->Size;
        state.TimerEnabled = control.Kind == ControlKind::Timer && control.Enabled;
        state.TimerDue = system.now_ + control.IntervalMs;
        controls_.push_back(state);
    }
    const std::vector<ControlIndex> order = TabOrder(description);
    if (!order.empty()) focus_ = order.front();
}
Status SimWindow::Show() {
    if (Status status = Record("", Operation::Show); Failed(status)) return status;
    if (destroyed_) return StatusNotLoaded;
    visible_ = true;
    minimised_ = false;
    system_.BringToFront(Name());
    return StatusOk;
}

Status SimWindow::Destroy() {
    if (Status status = Record("", Operation::Destroy); Failed(status)) return status;
    destroyed_ = true;
    visible_ = false;
    for (ControlState& control : controls_) control.TimerEnabled = false;
    return StatusOk;
}

Status SimWindow::SetText(ControlIndex index, std::string_view text) {
    return Apply(index, Operation::SetText, [&](ControlState& state, ControlKind) {
        state.Text = std::string(text);
        return StatusOk;
    });
}

Status SimWindow::GetText(ControlIndex index, std::string& text) {
    return Apply(index, Operation::GetText, [&](ControlState& state, ControlKind kind) {
        text = kind == ControlKind::ListBox ? SelectedRowText(index, state) : state.Text;
        return StatusOk;
    });
}

Status SimWindow::IsRowSelected(ControlIndex index, int row, bool& selected) {
    return Apply(index, Operation::IsRowSelected, [&](ControlState& state, ControlKind) {
        if (Status status = RowStatus(row, RowCount(index)); Failed(status)) return status;
        selected = state.SelectedRow == row;
        return StatusOk;
    });
}

Status SimWindow::GetFontSize(ControlIndex index, PointSize& size) {
    return Apply(index, Operation::GetFontSize, [&](ControlState& state, ControlKind) {
        size = state.FontSize;
        return StatusOk;
    });
}

Status SimWindow::SetFontSize(ControlIndex index, PointSize size) {
    return Apply(index, Operation::SetFontSize, [&](ControlState& state, ControlKind) {
        if (Status status = FontSizeStatus(size); Failed(status)) return status;
        state.FontSize = system_.fontSystem_ ? system_.fontSystem_(size) : size;
        return StatusOk;
    });
}

Status SimWindow::GetTimerEnabled(ControlIndex index, bool& enabled) {
    return Apply(index, Operation::GetTimerEnabled, [&](ControlState& state, ControlKind) {
        enabled = state.TimerEnabled;
        return StatusOk;
    });
}

Status SimWindow::SetTimerEnabled(ControlIndex index, bool enabled) {
    return Apply(index, Operation::SetTimerEnabled, [&](ControlState& state, ControlKind) {
        // Like a real timer, enabling a stopped one starts a fresh interval; enabling a
        // running one changes nothing.
        if (enabled && !state.TimerEnabled) {
            state.TimerDue = system_.now_ + description_.Controls[index].IntervalMs;
        }
        state.TimerEnabled = enabled;
        return StatusOk;
    });
}

ControlIndex SimWindow::IndexOf(const std::string& control) const {
    for (ControlIndex i = 0; i < description_.Controls.size(); ++i) {
        if (description_.Controls[i].Name == control) return i;
    }
    throw std::invalid_argument(Name() + " has no control " + control);
}

}  // namespace avo::sim
