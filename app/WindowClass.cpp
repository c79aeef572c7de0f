#include "app/WindowClass.h"

#include <stdexcept>
#include <string>

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
    // A misspelt name is a programmer's error: it stops the program in every build, with the
    // names in the message, rather than handing out an index that points nowhere.
    throw std::logic_error(std::string(Description.Name) + " has no control named \"" +
                           std::string(controlName) + "\"");
}

}  // namespace avo
