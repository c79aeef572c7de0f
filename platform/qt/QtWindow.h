#pragma once

#include <QPointer>

#include "platform/ControlStatus.h"
#include "platform/WindowSystem.h"
#include "platform/qt/FormWidget.h"

namespace avo::qt {

// The program's handle on a loaded window. Destroy takes the window off the screen and
// silences it at once; the widget itself is freed later, by the event loop, because the
// program may drop this handle from inside one of the widget's own callbacks.
class QtWindow final : public NativeWindow {
public:
    // Builds the window, hidden. Fails, building nothing, when a picture does not decode.
    static Status Load(const WindowDescription& description, EventSink& sink,
                       std::unique_ptr<NativeWindow>& window);
    ~QtWindow() override;

    Status Show() override;
    Status Destroy() override;
    Status SetText(ControlIndex control, std::string_view text) override;
    Status GetText(ControlIndex control, std::string& text) override;
    Status IsRowSelected(ControlIndex control, int row, bool& selected) override;
    Status GetFontSize(ControlIndex control, PointSize& size) override;
    Status SetFontSize(ControlIndex control, PointSize size) override;
    Status GetTimerEnabled(ControlIndex control, bool& enabled) override;
    Status SetTimerEnabled(ControlIndex control, bool enabled) override;

private:
    explicit QtWindow(FormWidget* form) : form_(form) {}

    // Runs body on a live control of the window; the status says why it could not.
    template <class Body>
    Status Apply(ControlIndex index, ControlOperation operation, Body&& body);

    QPointer<FormWidget> form_;
};

}  // namespace avo::qt
