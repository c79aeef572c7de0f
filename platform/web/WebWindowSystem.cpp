#include "platform/web/WebWindowSystem.h"

#include <emscripten/emscripten.h>

#include <vector>

#include "platform/web/SiteAddress.h"
#include "platform/web/WebBindings.h"
#include "platform/web/WebWindow.h"

namespace avo::web {

WebWindowSystem* WebWindowSystem::current_ = nullptr;

WebWindowSystem::WebWindowSystem(std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {
    current_ = this;
}

WebWindowSystem::~WebWindowSystem() {
    if (current_ == this) current_ = nullptr;
}

Status WebWindowSystem::Load(const WindowDescription& description, EventSink& sink,
                             std::unique_ptr<NativeWindow>& window) {
    const int id = nextId_++;
    auto loaded = std::make_unique<WebWindow>(*this, id, description, sink);
    windows_[id] = loaded.get();
    window = std::move(loaded);
    return StatusOk;
}

// A page starts no program: the site launch opens a new tab, inside the click that asked for
// it, so that pop-up blockers let it through. The show code has no meaning for a tab.
Status WebWindowSystem::StartProcess(std::string_view commandLine, int, std::uint32_t& processId) {
    const std::optional<std::string> address = SiteAddressOf(commandLine);
    if (!address) return StatusFileNotFound;
    if (!avo_web_open_site(address->c_str())) return StatusAccessDenied;
    processId = nextProcessId_++;
    return StatusOk;
}

void WebWindowSystem::Quit() {
    if (onQuit_) onQuit_();
}

PixelRect WebWindowSystem::PlaceWindow(const WebWindow& window, int width, int height) const {
    int screen[2] = {0, 0};
    avo_web_work_area(screen);
    std::vector<PlacementCandidate> others;
    for (const auto& [id, other] : windows_) {
        if (other == &window || other->Destroyed()) continue;
        int frame[4] = {0, 0, 0, 0};
        avo_web_window_frame(id, frame);
        others.push_back({{frame[0], frame[1], frame[2], frame[3]},
                          avo_web_window_active(id) != 0,
                          other->Visible()});
    }
    std::optional<PixelRect> owner;
    if (const std::optional<std::size_t> chosen = ChooseOwner(others)) {
        owner = others[*chosen].Frame;
    }
    return InitialPlacement(window.Description().Position, width, height,
                            {0, 0, screen[0], screen[1]}, owner);
}

WebWindow* WebWindowSystem::Find(int id) const {
    const auto found = windows_.find(id);
    return found == windows_.end() || found->second->Destroyed() ? nullptr : found->second;
}

int WebWindowSystem::IdOf(const WebWindow* window) const { return window->Id(); }

}  // namespace avo::web

// The page reports its input here. The window is looked up afresh for each report and not
// touched after its sink has run: a handler may unload, and so free, its own window.
namespace {

avo::web::WebWindow* Reported(int id) {
    avo::web::WebWindowSystem* system = avo::web::WebWindowSystem::Current();
    return system ? system->Find(id) : nullptr;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void avo_web_on_click(int id, int index) {
    if (avo::web::WebWindow* window = Reported(id)) {
        window->Sink().OnEvent(static_cast<avo::ControlIndex>(index), avo::Event::Click);
    }
}

EMSCRIPTEN_KEEPALIVE void avo_web_on_timer(int id, int index) {
    if (avo::web::WebWindow* window = Reported(id)) {
        window->Sink().OnEvent(static_cast<avo::ControlIndex>(index), avo::Event::Timer);
    }
}

EMSCRIPTEN_KEEPALIVE void avo_web_on_close(int id) {
    if (avo::web::WebWindow* window = Reported(id)) window->Sink().OnCloseCommand();
}

EMSCRIPTEN_KEEPALIVE void avo_web_on_key(int id, int focused, int key) {
    if (avo::web::WebWindow* window = Reported(id))
        window->OnKey(focused, static_cast<avo::Key>(key));
}

}  // extern "C"
