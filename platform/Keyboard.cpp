#include "platform/Keyboard.h"

#include <algorithm>

namespace avo {

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::ListBox || kind == ControlKind::PictureButton ||
           kind == ControlKind::PictureBox;
}

std::vector<ControlIndex> TabOrder(const WindowDescription& description) {
    std::vector<ControlIndex> order;
    for (ControlIndex i = 0; i < description.Controls.size(); ++i) {
        if (TakesFocus(description.Controls[i].Kind)) order.push_back(i);
    }
    // The iterator form: the web build's standard library has no ranges algorithms yet.
    std::stable_sort(order.begin(), order.end(), [&](ControlIndex a, ControlIndex b) {
        return description.Controls[a].TabIndex < description.Controls[b].TabIndex;
    });
    return order;
}

bool KeyPresses(Key key, ControlKind focused) {
    switch (key) {
        case Key::Space:
            return focused == ControlKind::PictureButton || focused == ControlKind::PictureBox;
        case Key::Enter: return focused == ControlKind::PictureBox;
        case Key::Tab:
        case Key::ShiftTab:
        case Key::Escape: break;
    }
    return false;
}

}  // namespace avo
