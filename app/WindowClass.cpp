#include "app/WindowClass.h"

#include <cassert>

namespace avo {

const Binding* WindowClass::FindBinding(ControlIndex control, Event event) const {
    const std::string_view name =
        control == kFormControl ? kFormControlName : Description.Controls[control].Name;
    for (const Binding& binding : Bindings) {
        if (binding.Control == name && binding.On == event) return &binding;
    }
    return nullptr;
}

ControlIndex WindowClass::IndexOf(std::string_view controlName) const {
    for (ControlIndex i = 0; i < Description.Controls.size(); ++i) {
        if (Description.Controls[i].Name == controlName) return i;
    }
    assert(!"a handler names a control that its window does not have");
    return kFormControl;
}

}  // namespace avo
