#include "app/Shell.h"
#include "reference/CommandCatalogue.h"
#include "reference/Form1.h"

namespace avo::form1 {

void Command1_Click(Shell&, Window& self) { ShowSelectedCommand(self); }

void Command2_Click(Shell& shell, Window&) {
    shell.ShowModeless(*shell.Instance(WindowName::Text));
}

void Command3_Click(Shell& shell, Window&) { shell.EndProgram(); }

}  // namespace avo::form1
