#pragma once

#include <string>
#include <vector>

#include "platform/Keyboard.h"

namespace avo::web {

class WebWindowSystem;

// What a loaded window keeps of one control. The page shows texts and sizes exactly as given,
// so they are read back from here; the selection is the page's, asked for each time.
struct WebControlState {
    std::string Text;
    PointSize FontSize;
    bool TimerEnabled = false;
};

// One loaded window: a frame of elements on the page built from the description. Destroy
// takes the elements off the page at once; the object itself may live on, reporting nothing.
class WebWindow final : public NativeWindow {
public:
    WebWindow(WebWindowSystem& system, int id, const WindowDescription& description,
              EventSink& sink);
    ~WebWindow() override;

    Status Show() override;
    Status Destroy() override;
    Status SetText(ControlIndex index, std::string_view text) override;
    Status GetText(ControlIndex index, std::string& text) override;
    Status IsRowSelected(ControlIndex index, int row, bool& selected) override;
    Status GetFontSize(ControlIndex index, PointSize& size) override;
    Status SetFontSize(ControlIndex index, PointSize size) override;
    Status GetTimerEnabled(ControlIndex index, bool& enabled) override;
    Status SetTimerEnabled(ControlIndex index, bool enabled) override;

    int Id() const { return id_; }
    bool Destroyed() const { return destroyed_; }
    bool Visible() const { return visible_; }
    EventSink& Sink() { return sink_; }
    const WindowDescription& Description() const { return description_; }
    // A key that the program decides, pressed on the control with the focus (none: -1).
    void OnKey(int focused, Key key);

private:
    void Build();
    void BuildControl(ControlIndex index);

    WebWindowSystem& system_;
    int id_;
    const WindowDescription& description_;
    EventSink& sink_;
    std::vector<WebControlState> controls_;
    bool visible_ = false;
    bool destroyed_ = false;
};

}  // namespace avo::web
