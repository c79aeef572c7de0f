#include <cassert>
#include <cstddef>

#include "app/Program.h"
#include "app/Shell.h"
#include "platform/WindowSystem.h"

// The program takes no arguments; whatever it is given is left alone.
int main(int argc, char** argv) {
    const avo::ProgramDescription& program = avo::AvodevivuProgram();
    // A broken table is a programmer's error: fail loudly in debug builds.
    assert(avo::FindTableFaults(program).empty());
    std::unique_ptr<avo::WindowSystem> windowSystem = avo::CreateWindowSystem(
        argc > 0 ? argv[0] : nullptr,
        program.Classes[static_cast<std::size_t>(program.StartUpWindow)].Description);
    if (!windowSystem) return 1;
    avo::Shell shell(*windowSystem, program);
    return shell.Run();
}
