#include "platform/AccessibleNames.h"

namespace avo {

bool IsNamedByHeading(const ControlDescription& control) {
    return control.Kind == ControlKind::Label && !control.AccessibleName.empty();
}

std::string_view AccessibleNameOf(const ControlDescription& control) {
    return control.AccessibleName.empty() ? control.Text : control.AccessibleName;
}

std::optional<ControlIndex> HeadingOf(const WindowDescription& window, ControlIndex box) {
    if (box >= window.Controls.size() || !IsNamedByHeading(window.Controls[box])) return {};
    for (ControlIndex i = 0; i < window.Controls.size(); ++i) {
        const ControlDescription& candidate = window.Controls[i];
        if (i != box && candidate.Kind == ControlKind::Label &&
            candidate.Text == window.Controls[box].AccessibleName) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace avo
