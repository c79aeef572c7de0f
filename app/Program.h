#pragma once

#include <string>
#include <vector>

#include "app/WindowClass.h"

namespace avo {

// The whole program: the two window classes with their descriptions and binding tables.
// Form1 is the start-up window.
const ProgramDescription& AvodevivuProgram();

// Everything wrong with a program's tables: duplicate control names or tab positions,
// bindings to missing controls or to events a control cannot raise, pictures that do not
// decode to their stated size. Empty for a sound program.
std::vector<std::string> FindTableFaults(const ProgramDescription& program);

}  // namespace avo
