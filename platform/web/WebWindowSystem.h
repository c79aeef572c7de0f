#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/Placement.h"
#include "platform/WindowSystem.h"

namespace avo::web {

class WebWindow;

// The browser page as a window system: the page is the screen, its windows are elements
// drawn by WebWindow. The browser runs the event loop itself, so RunEventLoop returns at
// once and Quit hands the end of the program to whoever runs it (the page's entry says so on
// the page and offers a restart).
class WebWindowSystem final : public WindowSystem {
public:
    explicit WebWindowSystem(std::function<void()> onQuit = {});
    ~WebWindowSystem() override;

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override;
    Status StartProcess(std::string_view commandLine, int showCode,
                        std::uint32_t& processId) override;
    void RunEventLoop() override {}
    void Quit() override;

    // Where a window of this frame size opens, over the program's other shown windows.
    PixelRect PlaceWindow(const WebWindow& window, int width, int height) const;
    void Forget(const WebWindow* window) { windows_.erase(IdOf(window)); }
    // The window objects that exist, destroyed ones included until they are freed.
    std::size_t WindowCount() const { return windows_.size(); }
    // The loaded window behind an id the page reports; null once it has gone.
    WebWindow* Find(int id) const;
    // The one window system the page reports to.
    static WebWindowSystem* Current() { return current_; }

private:
    int IdOf(const WebWindow* window) const;

    std::map<int, WebWindow*> windows_;
    // Ids stay unique across window systems: the page keys its windows by them.
    static inline int nextId_ = 1;
    std::uint32_t nextProcessId_ = 1;
    std::function<void()> onQuit_;
    static WebWindowSystem* current_;
};

}  // namespace avo::web
