#include "app/Window.h"
#include "about/Text.h"

// The maker's name grows under Timer1 and shrinks under Timer2; each timer hands over to the
// other in the tick that crosses its limit. Every comparison starts from the size that the
// label's font reports at that moment, so a font system that rounds sizes steers the cycle.

namespace avo::about {
namespace {

void HandOver(Window& self, std::string_view from, std::string_view to) {
    self.Control(from).SetEnabled(false);
    self.Control(to).SetEnabled(true);
}

}  // namespace

void Timer1_Timer(Shell&, Window& self) {
    const ControlRef caption = self.Control("Label1");
    if (caption.FontSize() < kCaptionUpperLimit) {
        caption.SetFontSize(caption.FontSize() + kCaptionStep);
    }
    if (caption.FontSize() > kCaptionUpperLimit) HandOver(self, "Timer1", "Timer2");
}

void Timer2_Timer(Shell&, Window& self) {
    const ControlRef caption = self.Control("Label1");
    if (caption.FontSize() > kCaptionLowerLimit) {
        caption.SetFontSize(caption.FontSize() - kCaptionStep);
    }
    if (caption.FontSize() < kCaptionLowerLimit) HandOver(self, "Timer2", "Timer1");
}

}  // namespace avo::about
