#include "app/Shell.h"
#include "about/Text.h"

namespace avo::about {

void Form_Load(Shell& shell, Window&) {
    // The process id is of no use to the window: it never waits for the browser.
    static_cast<void>(shell.StartProcess(SiteLaunchCommand, kShowMinimizedActivated));
}

void Picture1_Click(Shell& shell, Window& self) {
    shell.Unload(self);
    shell.ShowModeless(*shell.Instance(WindowName::Form1));
}

void Label1_Click(Shell&, Window&) {}

}  // namespace avo::about
