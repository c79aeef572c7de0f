#pragma once

#include "platform/WindowSystem.h"

namespace avo {

// The NativeWindow operations on a control.
enum class ControlOperation {
    SetText,
    GetText,
    IsRowSelected,
    GetFontSize,
    SetFontSize,
    GetTimerEnabled,
    SetTimerEnabled
};

// Whether a control of this kind has what the operation reads or writes: only labels take a
// new text, only lists have rows, only timers run, and a timer has neither text nor font.
bool Supports(ControlKind kind, ControlOperation operation);

// What an operation on a control answers before it looks at its arguments: StatusNotLoaded
// once the window is destroyed, StatusInvalidArgument for an index past its controls,
// StatusWrongKind for a control that lacks the property, else StatusOk.
Status ControlStatus(const WindowDescription& description, bool destroyed, ControlIndex index,
                     ControlOperation operation);

// The answers to the arguments themselves: a row outside the list and a font size of zero
// or less are StatusInvalidArgument.
Status RowStatus(int row, int rowCount);
Status FontSizeStatus(PointSize size);

}  // namespace avo
