#include "reference/CommandCatalogue.h"

#include "app/Window.h"

namespace avo {

void ShowSelectedCommand(Window& form1) {
    const ControlRef list = form1.Control("List1");
    const ControlRef alias = form1.Control("Label1");
    const ControlRef description = form1.Control("Label3");
    for (const CommandEntry& entry : CommandCatalogue) {
        if (list.IsRowSelected(entry.Index)) {
            alias.SetText(entry.Alias);
            description.SetText(entry.Description);
        }
    }
}

}  // namespace avo
