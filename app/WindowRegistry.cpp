#include "app/WindowRegistry.h"

#include <cassert>

namespace avo {

WindowRegistry::WindowRegistry(Shell& shell, const ProgramDescription& program)
    : shell_(shell), program_(program) {
    assert(program.Classes.size() == slots_.size());
}

std::shared_ptr<Window> WindowRegistry::Instance(WindowName name) {
    auto& slot = slots_[static_cast<std::size_t>(name)];
    if (!slot)
        slot = std::make_shared<Window>(shell_, program_.Classes[static_cast<std::size_t>(name)]);
    return slot;
}

Window* WindowRegistry::Created(WindowName name) const {
    return slots_[static_cast<std::size_t>(name)].get();
}

bool WindowRegistry::AnyLoaded() const {
    for (const auto& slot : slots_) {
        if (slot && slot->IsLoaded()) return true;
    }
    return false;
}

}  // namespace avo
