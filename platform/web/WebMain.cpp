#include <emscripten/emscripten.h>

#include <cassert>
#include <memory>

#include "app/Program.h"
#include "app/Shell.h"
#include "platform/web/WebBindings.h"
#include "platform/web/WebWindowSystem.h"

// The page's program entry. The browser runs the event loop, so the program lives on after
// main returns; when it ends, the page releases it and may start a fresh one.
namespace {

std::unique_ptr<avo::web::WebWindowSystem> windowSystem;
std::unique_ptr<avo::Shell> shell;

}  // namespace

namespace avo {

std::unique_ptr<WindowSystem> CreateWindowSystem(int&, char**) {
    return std::make_unique<web::WebWindowSystem>();
}

}  // namespace avo

extern "C" {

EMSCRIPTEN_KEEPALIVE void avo_web_start() {
    if (shell) return;
    // The page is told once, however often Quit comes.
    windowSystem = std::make_unique<avo::web::WebWindowSystem>([ended = false]() mutable {
        if (!ended) avo_web_program_ended();
        ended = true;
    });
    shell = std::make_unique<avo::Shell>(*windowSystem, avo::AvodevivuProgram());
    shell->Run();
}

// Called by the page once the program has ended and no handler is running any more.
EMSCRIPTEN_KEEPALIVE void avo_web_release() {
    shell.reset();
    windowSystem.reset();
}

}  // extern "C"

int main() {
    // A broken table is a programmer's error: fail loudly in debug builds.
    assert(avo::FindTableFaults(avo::AvodevivuProgram()).empty());
    avo_web_start();
    return 0;
}
