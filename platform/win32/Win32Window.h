#pragma once

#include <memory>
#include <utility>

#include "platform/WindowSystem.h"
#include "platform/win32/FormWindow.h"

namespace avo::win32 {

// The program's handle on a loaded window. The program may drop it while one of the form's
// own events is still on the stack; the form itself then lives on until that event returns.
class Win32Window final : public NativeWindow {
public:
    explicit Win32Window(std::shared_ptr<FormWindow> form) : form_(std::move(form)) {}
    ~Win32Window() override { form_->Destroy(); }

    Status Show() override { return form_->Show(); }
    Status Destroy() override { return form_->Destroy(); }
    Status SetText(ControlIndex control, std::string_view text) override {
        return form_->SetText(control, text);
    }
    Status GetText(ControlIndex control, std::string& text) override {
        return form_->GetText(control, text);
    }
    Status IsRowSelected(ControlIndex control, int row, bool& selected) override {
        return form_->IsRowSelected(control, row, selected);
    }
    Status GetFontSize(ControlIndex control, PointSize& size) override {
        return form_->GetFontSize(control, size);
    }
    Status SetFontSize(ControlIndex control, PointSize size) override {
        return form_->SetFontSize(control, size);
    }
    Status GetTimerEnabled(ControlIndex control, bool& enabled) override {
        return form_->GetTimerEnabled(control, enabled);
    }
    Status SetTimerEnabled(ControlIndex control, bool enabled) override {
        return form_->SetTimerEnabled(control, enabled);
    }

private:
    std::shared_ptr<FormWindow> form_;
};

}  // namespace avo::win32
