#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

#include "Stats.h"

// The probe's view of the X server: the window manager's client list, window properties,
// pixels and damage reports.
namespace avo::bench {

class XSession {
public:
    XSession();  // the display named by $DISPLAY; throws when there is none
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    std::vector<Window> ClientList();
    std::set<Window> TopLevelWindows();  // clients, root children and their children
    std::optional<pid_t> WindowPid(Window window);
    bool IsMapped(Window window);
    std::optional<Rect> Geometry(Window window);  // size, and position relative to the root

    // Distinct pixel values in the window, counted up to `limit`; nothing if unreadable.
    std::optional<int> CountColours(Window window, int limit);

    // Writes the window's pixels as a binary PPM, to see what the probe saw.
    bool SavePpm(Window window, const std::string& path);

    Damage WatchDamage(Window window, int level);
    void Forget(Damage damage);
    // Waits up to `timeoutMs` for an event; false when none arrived.
    bool NextEvent(XEvent& event, double timeoutMs);
    bool IsDamage(const XEvent& event) const {
        return event.type == damageEventBase_ + XDamageNotify;
    }

private:
    Display* display_ = nullptr;
    Window root_ = 0;
    Atom clientList_ = 0;
    Atom wmPid_ = 0;
    int damageEventBase_ = 0;
};

}  // namespace avo::bench
