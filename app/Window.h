#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/WindowClass.h"
#include "platform/PointSize.h"
#include "platform/WindowSystem.h"

namespace avo {

class Window;

// A handler's temporary reference to one control. Every property access goes to the window
// system and raises PlatformError when it fails.
class ControlRef {
public:
    ControlRef(Window& window, ControlIndex index) : window_(window), index_(index) {}

    std::string Text() const;
    void SetText(std::string_view text) const;
    bool IsRowSelected(int row) const;
    PointSize FontSize() const;
    void SetFontSize(PointSize size) const;
    bool Enabled() const;
    void SetEnabled(bool enabled) const;

private:
    NativeWindow& Native(const char* operation) const;
    void CheckStatus(Status status, const char* operation) const;

    Window& window_;
    ControlIndex index_;
};

// The single instance of a window class. It is created once and lives until the process
// ends; it is loaded (native window present) or not.
class Window final : public std::enable_shared_from_this<Window>, private EventSink {
public:
    Window(Shell& shell, const WindowClass& windowClass);

    const WindowClass& Class() const { return class_; }
    std::string_view Name() const { return class_.Description.Name; }
    bool IsLoaded() const { return native_ != nullptr; }

    // Taking a control from its window cannot fail; using it can.
    ControlRef Control(std::string_view name) { return ControlRef(*this, class_.IndexOf(name)); }

private:
    friend class ControlRef;
    friend class Shell;

    void OnEvent(ControlIndex control, Event event) override;
    void OnCloseCommand() override;

    Shell& shell_;
    const WindowClass& class_;
    std::unique_ptr<NativeWindow> native_;
};

}  // namespace avo
