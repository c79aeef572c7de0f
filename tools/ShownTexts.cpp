// Prints every text the program can show, one per line, in UTF-8: each window's caption, its
// controls' texts, tooltips and list rows, and every alias and description of the catalogue.
// The web page's fonts are cut down to exactly the characters of this output, so it is read
// from the program's own tables rather than from a copy of them.
#include <iostream>
#include <string_view>

#include "app/Program.h"
#include "reference/CommandCatalogue.h"

namespace {

void PrintText(std::string_view text) {
    if (!text.empty()) std::cout << text << '\n';
}

void PrintWindowTexts(const avo::WindowDescription& window) {
    PrintText(window.Caption);
    for (const avo::ControlDescription& control : window.Controls) {
        PrintText(control.Text);
        PrintText(control.ToolTip);
        for (std::string_view row : control.Rows) PrintText(row);
    }
}

}  // namespace

int main() {
    for (const avo::WindowClass& windowClass : avo::AvodevivuProgram().Classes) {
        PrintWindowTexts(windowClass.Description);
    }
    for (const avo::CommandEntry& entry : avo::CommandCatalogue) {
        PrintText(entry.Alias);
        PrintText(entry.Description);
    }
    return std::cout.flush() ? 0 : 1;
}
