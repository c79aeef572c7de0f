#include "platform/web/WebWindow.h"

#include <cstdio>

#include "platform/AccessibleNames.h"
#include "platform/ControlStatus.h"
#include "platform/WindowDefaults.h"
#include "platform/web/WebBindings.h"
#include "platform/web/WebWindowSystem.h"

namespace avo::web {
namespace {

// The frame the page draws around a bordered window: a 3-pixel edge and a 24-pixel caption
// bar, as the page's style sheet lays them out.
constexpr int kFrameEdge = 3;
constexpr int kCaptionBar = 24;

// System colours as the page's own CSS system colours, so that they follow the browser's.
std::string CssColour(Colour colour) {
    if (IsSystemColour(colour)) {
        switch (colour & 0xFF) {
            case 5: return "Canvas";
            case 8: return "CanvasText";
            case 18: return "ButtonText";
            default: return "ButtonFace";
        }
    }
    char css[8];
    std::snprintf(css, sizeof css, "#%02x%02x%02x", RedOf(colour), GreenOf(colour), BlueOf(colour));
    return css;
}

// The page carries its own faces, so that every row and caption is drawn alike in every
// browser: the program's sans-serif faces are drawn with Liberation Sans, Tahoma with
// DejaVu Sans (which has every Turkish letter); the local faces serve where the page was
// built without its fonts.
std::string CssFontFamily(std::string_view face) {
    if (face == "Tahoma") return "\"Avodevivu DejaVu Sans\", \"DejaVu Sans\", Tahoma, sans-serif";
    return "\"Avodevivu Liberation Sans\", \"Liberation Sans\", Arial, sans-serif";
}

std::string Owned(std::string_view text) { return std::string(text); }

const unsigned char* BytesOf(const EmbeddedFile* file) {
    return file ? file->Bytes.data() : nullptr;
}
std::size_t SizeOf(const EmbeddedFile* file) { return file ? file->Bytes.size() : 0; }

}  // namespace

WebWindow::WebWindow(WebWindowSystem& system, int id, const WindowDescription& description,
                     EventSink& sink)
    : system_(system), id_(id), description_(description), sink_(sink) {
    for (const ControlDescription& control : description.Controls) {
        WebControlState state;
        state.Text = Owned(control.Text);
        state.FontSize = control.Font ? control.Font->Size : kDefaultWindowFont.Size;
        state.TimerEnabled = control.Kind == ControlKind::Timer && control.Enabled;
        controls_.push_back(state);
    }
    Build();
}

WebWindow::~WebWindow() {
    Destroy();
    system_.Forget(this);
}

void WebWindow::Build() {
    const bool bordered = description_.Border != BorderStyle::None;
    const int width = TwipsToPixels(description_.ClientWidth);
    const int height = TwipsToPixels(description_.ClientHeight);
    const PictureDescription& icon = description_.Icon;
    avo_web_window_create(
        id_, Owned(description_.Name).c_str(), Owned(description_.Caption).c_str(), bordered, width,
        height, CssColour(description_.BackColour).c_str(), BytesOf(icon.File), SizeOf(icon.File));
    if (const PictureDescription& picture = description_.Picture) {
        avo_web_window_picture(id_, BytesOf(picture.File), SizeOf(picture.File),
                               BytesOf(picture.File2x), SizeOf(picture.File2x), picture.Width,
                               picture.Height);
    }
    for (ControlIndex i = 0; i < description_.Controls.size(); ++i) BuildControl(i);
    // A heading may come after its box in the description, so boxes are named once all exist.
    for (ControlIndex i = 0; i < description_.Controls.size(); ++i) {
        if (const std::optional<ControlIndex> heading = HeadingOf(description_, i)) {
            avo_web_label_heading(id_, static_cast<int>(i), static_cast<int>(*heading));
        }
    }
    const int frameWidth = bordered ? width + 2 * kFrameEdge : width;
    const int frameHeight = bordered ? height + 2 * kFrameEdge + kCaptionBar : height;
    const PixelRect frame = system_.PlaceWindow(*this, frameWidth, frameHeight);
    avo_web_window_place(id_, frame.Left, frame.Top);
}

void WebWindow::BuildControl(ControlIndex index) {
    const ControlDescription& control = description_.Controls[index];
    const int i = static_cast<int>(index);
    if (control.Kind == ControlKind::Timer) {
        if (controls_[index].TimerEnabled) avo_web_set_timer(id_, i, control.IntervalMs);
        return;
    }
    const TwipsRect& bounds = control.Bounds;
    const std::string back = control.Transparent ? "transparent" : CssColour(control.BackColour);
    avo_web_control_create(
        id_, i, static_cast<int>(control.Kind), Owned(control.Name).c_str(),
        TwipsToPixels(bounds.Left), TwipsToPixels(bounds.Top), TwipsToPixels(bounds.Width),
        TwipsToPixels(bounds.Height), Owned(control.Text).c_str(), Owned(control.ToolTip).c_str(),
        Owned(AccessibleNameOf(control)).c_str(), CssColour(control.ForeColour).c_str(),
        back.c_str(), control.Border == BorderStyle::FixedSingle ? kLabelBorderPixels : 0,
        static_cast<int>(control.TextAlignment));
    const FontDescriptor& font = control.Font ? *control.Font : kDefaultWindowFont;
    avo_web_control_font(id_, i, CssFontFamily(font.Face).c_str(), font.Size.ToDouble(),
                         font.Weight, font.Italic, font.Underline, font.Strikethrough);
    if (const PictureDescription& picture = control.Picture) {
        avo_web_control_picture(id_, i, BytesOf(picture.File), SizeOf(picture.File),
                                BytesOf(picture.File2x), SizeOf(picture.File2x), picture.Width,
                                picture.Height);
    }
    for (std::string_view row : control.Rows) avo_web_list_row(id_, i, Owned(row).c_str());
}

Status WebWindow::Show() {
    if (destroyed_) return StatusNotLoaded;
    const std::vector<ControlIndex> order = TabOrder(description_);
    visible_ = true;
    avo_web_window_show(id_, order.empty() ? -1 : static_cast<int>(order.front()));
    return StatusOk;
}

Status WebWindow::Destroy() {
    if (destroyed_) return StatusOk;
    destroyed_ = true;
    visible_ = false;
    for (WebControlState& control : controls_) control.TimerEnabled = false;
    avo_web_window_destroy(id_);
    return StatusOk;
}

void WebWindow::OnKey(int focused, Key key) {
    const std::vector<ControlIndex> order = TabOrder(description_);
    if (order.empty()) return;
    std::size_t at = 0;
    while (at < order.size() && static_cast<int>(order[at]) != focused) ++at;
    if (key == Key::Tab || key == Key::ShiftTab) {
        const std::size_t n = order.size();
        const std::size_t next = at == n ? 0 : (key == Key::Tab ? at + 1 : at + n - 1) % n;
        avo_web_focus(id_, static_cast<int>(order[next]));
        return;
    }
    if (at == order.size()) return;
    if (KeyPresses(key, description_.Controls[order[at]].Kind))
        sink_.OnEvent(order[at], Event::Click);
}

Status WebWindow::SetText(ControlIndex index, std::string_view text) {
    const Status status = ControlStatus(description_, destroyed_, index, ControlOperation::SetText);
    if (Failed(status)) return status;
    controls_[index].Text = Owned(text);
    avo_web_set_text(id_, static_cast<int>(index), controls_[index].Text.c_str());
    return StatusOk;
}

Status WebWindow::GetText(ControlIndex index, std::string& text) {
    const Status status = ControlStatus(description_, destroyed_, index, ControlOperation::GetText);
    if (Failed(status)) return status;
    const ControlDescription& control = description_.Controls[index];
    if (control.Kind != ControlKind::ListBox) {
        text = controls_[index].Text;
        return StatusOk;
    }
    const int row = avo_web_selected_row(id_, static_cast<int>(index));
    text = row < 0 ? std::string() : Owned(control.Rows[row]);
    return StatusOk;
}

Status WebWindow::IsRowSelected(ControlIndex index, int row, bool& selected) {
    Status status = ControlStatus(description_, destroyed_, index, ControlOperation::IsRowSelected);
    if (Failed(status)) return status;
    status = RowStatus(row, static_cast<int>(description_.Controls[index].Rows.size()));
    if (Failed(status)) return status;
    selected = avo_web_selected_row(id_, static_cast<int>(index)) == row;
    return StatusOk;
}

Status WebWindow::GetFontSize(ControlIndex index, PointSize& size) {
    const Status status =
        ControlStatus(description_, destroyed_, index, ControlOperation::GetFontSize);
    if (Failed(status)) return status;
    size = controls_[index].FontSize;
    return StatusOk;
}

// The page draws any size it is given, so a size is read back exactly as set.
Status WebWindow::SetFontSize(ControlIndex index, PointSize size) {
    Status status = ControlStatus(description_, destroyed_, index, ControlOperation::SetFontSize);
    if (Failed(status) || Failed(status = FontSizeStatus(size))) return status;
    controls_[index].FontSize = size;
    avo_web_set_font_size(id_, static_cast<int>(index), size.ToDouble());
    return StatusOk;
}

Status WebWindow::GetTimerEnabled(ControlIndex index, bool& enabled) {
    const Status status =
        ControlStatus(description_, destroyed_, index, ControlOperation::GetTimerEnabled);
    if (Failed(status)) return status;
    enabled = controls_[index].TimerEnabled;
    return StatusOk;
}

// Enabling a stopped timer starts a fresh interval; enabling a running one changes nothing.
Status WebWindow::SetTimerEnabled(ControlIndex index, bool enabled) {
    const Status status =
        ControlStatus(description_, destroyed_, index, ControlOperation::SetTimerEnabled);
    if (Failed(status)) return status;
    if (enabled == controls_[index].TimerEnabled) return StatusOk;
    controls_[index].TimerEnabled = enabled;
    avo_web_set_timer(id_, static_cast<int>(index),
                      enabled ? description_.Controls[index].IntervalMs : 0);
    return StatusOk;
}

}  // namespace avo::web
