#pragma once

#include "platform/WindowDescription.h"

namespace avo {
class Shell;
class Window;
}  // namespace avo

// The main window: the command list, the alias and description boxes, and three picture
// buttons.
namespace avo::form1 {

const WindowDescription& Description();

void Command1_Click(Shell& shell, Window& self);  // show the selected command
void Command2_Click(Shell& shell, Window& self);  // open the About window
void Command3_Click(Shell& shell, Window& self);  // end the program

}  // namespace avo::form1
