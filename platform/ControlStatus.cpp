#include "platform/ControlStatus.h"

namespace avo {

bool Supports(ControlKind kind, ControlOperation operation) {
    switch (operation) {
        case ControlOperation::SetText: return kind == ControlKind::Label;
        case ControlOperation::IsRowSelected: return kind == ControlKind::ListBox;
        case ControlOperation::GetTimerEnabled:
        case ControlOperation::SetTimerEnabled: return kind == ControlKind::Timer;
        case ControlOperation::GetText:
        case ControlOperation::GetFontSize:
        case ControlOperation::SetFontSize: return kind != ControlKind::Timer;
    }
    return false;
}

Status ControlStatus(const WindowDescription& description, bool destroyed, ControlIndex index,
                     ControlOperation operation) {
    if (destroyed) return StatusNotLoaded;
    if (index >= description.Controls.size()) return StatusInvalidArgument;
    return Supports(description.Controls[index].Kind, operation) ? StatusOk : StatusWrongKind;
}

Status RowStatus(int row, int rowCount) {
    return row >= 0 && row < rowCount ? StatusOk : StatusInvalidArgument;
}

Status FontSizeStatus(PointSize size) {
    return size > PointSize() ? StatusOk : StatusInvalidArgument;
}

}  // namespace avo
