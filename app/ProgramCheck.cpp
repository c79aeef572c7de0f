#include <set>
#include <string>
#include <vector>

#include "app/Program.h"
#include "platform/PictureHeader.h"

namespace avo {
namespace {

bool CanRaise(ControlKind kind, Event event) {
    switch (event) {
        case Event::Timer: return kind == ControlKind::Timer;
        case Event::Click: return kind != ControlKind::Timer;
        case Event::Load: return false;  // only the window itself loads
    }
    return false;
}

void CheckPictureFile(const EmbeddedFile& file, int width, int height, const std::string& owner,
                      std::vector<std::string>& faults) {
    const auto header = ReadPictureHeader(file.Bytes);
    if (!header) {
        faults.push_back(owner + ": picture " + std::string(file.Name) + " does not decode");
    } else if (header->Width != width || header->Height != height) {
        faults.push_back(owner + ": picture " + std::string(file.Name) + " is " +
                         std::to_string(header->Width) + "x" + std::to_string(header->Height) +
                         ", not " + std::to_string(width) + "x" + std::to_string(height));
    }
}

// The 2x picture must be exactly twice the 1x one, or the windows would place their
// controls over the wrong parts of it on a high-DPI screen.
void CheckPicture(const PictureDescription& picture, const std::string& owner,
                  std::vector<std::string>& faults) {
    if (!picture) return;
    CheckPictureFile(*picture.File, picture.Width, picture.Height, owner, faults);
    if (picture.File2x) {
        CheckPictureFile(*picture.File2x, 2 * picture.Width, 2 * picture.Height, owner, faults);
    }
}

void CheckControls(const WindowDescription& window, std::vector<std::string>& faults) {
    const std::string windowName(window.Name);
    std::set<std::string_view> names;
    std::set<int> tabs;
    for (const ControlDescription& control : window.Controls) {
        const std::string owner = windowName + "." + std::string(control.Name);
        if (control.Name == kFormControlName || !names.insert(control.Name).second) {
            faults.push_back(owner + ": control name is not unique");
        }
        if (control.TabIndex >= 0 && !tabs.insert(control.TabIndex).second) {
            faults.push_back(owner + ": tab position " + std::to_string(control.TabIndex) +
                             " is taken");
        }
        if (control.Kind == ControlKind::Timer && control.IntervalMs <= 0) {
            faults.push_back(owner + ": timer without an interval");
        }
        CheckPicture(control.Picture, owner, faults);
    }
    CheckPicture(window.Picture, windowName, faults);
    CheckPicture(window.Icon, windowName + " icon", faults);
}

void CheckBindings(const WindowClass& windowClass, std::vector<std::string>& faults) {
    const WindowDescription& window = windowClass.Description;
    std::set<std::pair<std::string_view, Event>> bound;
    for (const Binding& binding : windowClass.Bindings) {
        const std::string owner = std::string(window.Name) + "." + std::string(binding.HandlerName);
        if (!bound.insert({binding.Control, binding.On}).second) {
            faults.push_back(owner + ": event bound twice");
        }
        if (binding.Control == kFormControlName) {
            if (binding.On != Event::Load)
                faults.push_back(owner + ": the window raises only Load");
            continue;
        }
        const ControlDescription* control = nullptr;
        for (const ControlDescription& candidate : window.Controls) {
            if (candidate.Name == binding.Control) control = &candidate;
        }
        if (!control) {
            faults.push_back(owner + ": no control " + std::string(binding.Control));
        } else if (!CanRaise(control->Kind, binding.On)) {
            faults.push_back(owner + ": " + std::string(binding.Control) + " cannot raise " +
                             EventName(binding.On));
        }
    }
}

}  // namespace

std::vector<std::string> FindTableFaults(const ProgramDescription& program) {
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < program.Classes.size(); ++i) {
        const WindowClass& windowClass = program.Classes[i];
        if (static_cast<std::size_t>(windowClass.Name) != i) {
            faults.push_back(std::string(windowClass.Description.Name) + ": out of order");
        }
        CheckControls(windowClass.Description, faults);
        CheckBindings(windowClass, faults);
    }
    return faults;
}

}  // namespace avo
