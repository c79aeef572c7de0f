#include <cassert>

#include "app/Program.h"
#include "app/Shell.h"
#include "platform/WindowSystem.h"

int main(int argc, char** argv) {
    const avo::ProgramDescription& program = avo::AvodevivuProgram();
    // A broken table is a programmer's error: fail loudly in debug builds.
    assert(avo::FindTableFaults(program).empty());
    std::unique_ptr<avo::WindowSystem> windowSystem = avo::CreateWindowSystem(argc, argv);
    if (!windowSystem) return 1;
    avo::Shell shell(*windowSystem, program);
    return shell.Run();
}
