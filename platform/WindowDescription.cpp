#include "platform/WindowDescription.h"

#include "platform/WindowSystem.h"

namespace avo {

const char* InterfaceName(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox: return "ListBox";
        case ControlKind::Label: return "Label";
        case ControlKind::PictureButton: return "CommandButton";
        case ControlKind::PictureBox: return "PictureBox";
        case ControlKind::Timer: return "Timer";
    }
    return "Control";
}

const char* EventName(Event event) {
    switch (event) {
        case Event::Click: return "Click";
        case Event::Load: return "Load";
        case Event::Timer: return "Timer";
    }
    return "Event";
}

}  // namespace avo
