#include "app/Window.h"

#include "app/Shell.h"
#include "platform/PlatformError.h"

namespace avo {

NativeWindow& ControlRef::Native(const char* operation) const {
    if (!window_.native_) CheckStatus(StatusNotLoaded, operation);
    return *window_.native_;
}

void ControlRef::CheckStatus(Status status, const char* operation) const {
    const ControlDescription& control = window_.Class().Description.Controls[index_];
    Check(status, std::string(window_.Name()) + "." + std::string(control.Name),
          InterfaceName(control.Kind), operation);
}

std::string ControlRef::Text() const {
    std::string text;
    CheckStatus(Native("GetText").GetText(index_, text), "GetText");
    return text;
}

void ControlRef::SetText(std::string_view text) const {
    CheckStatus(Native("SetText").SetText(index_, text), "SetText");
}

bool ControlRef::IsRowSelected(int row) const {
    bool selected = false;
    CheckStatus(Native("IsRowSelected").IsRowSelected(index_, row, selected), "IsRowSelected");
    return selected;
}

PointSize ControlRef::FontSize() const {
    PointSize size;
    CheckStatus(Native("GetFontSize").GetFontSize(index_, size), "GetFontSize");
    return size;
}

void ControlRef::SetFontSize(PointSize size) const {
    CheckStatus(Native("SetFontSize").SetFontSize(index_, size), "SetFontSize");
}

bool ControlRef::Enabled() const {
    bool enabled = false;
    CheckStatus(Native("GetEnabled").GetTimerEnabled(index_, enabled), "GetEnabled");
    return enabled;
}

void ControlRef::SetEnabled(bool enabled) const {
    CheckStatus(Native("SetEnabled").SetTimerEnabled(index_, enabled), "SetEnabled");
}

Window::Window(Shell& shell, const WindowClass& windowClass) : shell_(shell), class_(windowClass) {}

void Window::OnEvent(ControlIndex control, Event event) { shell_.Dispatch(*this, control, event); }

void Window::OnCloseCommand() { shell_.CloseCommand(*this); }

}  // namespace avo
