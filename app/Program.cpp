#include "app/Program.h"

#include "about/Text.h"
#include "reference/Form1.h"

namespace avo {
namespace {

// Every handler of the program. No other event has one: the main window handles none of its
// own events, and selecting a row in List1 does nothing until Command1 is pressed.
constexpr Binding kForm1Bindings[] = {
    {"Command1", Event::Click, form1::Command1_Click, "Command1_Click"},
    {"Command2", Event::Click, form1::Command2_Click, "Command2_Click"},
    {"Command3", Event::Click, form1::Command3_Click, "Command3_Click"},
};

constexpr Binding kTextBindings[] = {
    {"Form", Event::Load, about::Form_Load, "Form_Load"},
    {"Label1", Event::Click, about::Label1_Click, "Label1_Click"},
    {"Picture1", Event::Click, about::Picture1_Click, "Picture1_Click"},
    {"Timer1", Event::Timer, about::Timer1_Timer, "Timer1_Timer"},
    {"Timer2", Event::Timer, about::Timer2_Timer, "Timer2_Timer"},
};

}  // namespace

const ProgramDescription& AvodevivuProgram() {
    static const WindowClass classes[] = {
        {WindowName::Form1, form1::Description(), kForm1Bindings},
        {WindowName::Text, about::Description(), kTextBindings},
    };
    static const ProgramDescription program{classes, WindowName::Form1};
    return program;
}

}  // namespace avo
