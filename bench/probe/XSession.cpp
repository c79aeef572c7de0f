#include "XSession.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <poll.h>
#include <stdexcept>
#include <unordered_set>

#include "Process.h"

namespace avo::bench {
namespace {

// Windows come and go under the probe's feet; a vanished window is an answer, not a fault.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

std::vector<unsigned long> CardinalProperty(Display* display, Window window, Atom property,
                                            Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType, &format,
                           &count, &after, &data) == Success &&
        data && format == 32) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        values.assign(items, items + count);
    }
    if (data) XFree(data);
    return values;
}

std::vector<Window> Children(Display* display, Window parent) {
    Window root = 0, ignored = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, parent, &root, &ignored, &children, &count) && children) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

}  // namespace

XSession::XSession() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) throw std::runtime_error("cannot open the X display");
    XSetErrorHandler(IgnoreErrors);
    root_ = DefaultRootWindow(display_);
    clientList_ = XInternAtom(display_, "_NET_CLIENT_LIST", False);
    wmPid_ = XInternAtom(display_, "_NET_WM_PID", False);
    int errorBase = 0;
    if (!XDamageQueryExtension(display_, &damageEventBase_, &errorBase)) {
        throw std::runtime_error("the X server has no DAMAGE extension");
    }
}

XSession::~XSession() { XCloseDisplay(display_); }

std::vector<Window> XSession::ClientList() {
    const auto ids = CardinalProperty(display_, root_, clientList_, XA_WINDOW);
    return {ids.begin(), ids.end()};
}

std::set<Window> XSession::TopLevelWindows() {
    std::set<Window> windows;
    for (Window client : ClientList()) windows.insert(client);
    // Unmanaged (override-redirect) windows sit on the root; managed ones inside a frame.
    for (Window child : Children(display_, root_)) {
        windows.insert(child);
        for (Window grandchild : Children(display_, child)) windows.insert(grandchild);
    }
    return windows;
}

std::optional<pid_t> XSession::WindowPid(Window window) {
    const auto values = CardinalProperty(display_, window, wmPid_, XA_CARDINAL);
    if (values.empty()) return std::nullopt;
    return static_cast<pid_t>(values.front());
}

bool XSession::IsMapped(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
}

std::optional<Rect> XSession::Geometry(Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root_, 0, 0, &x, &y, &child);
    return Rect{x, y, attributes.width, attributes.height};
}

std::optional<int> XSession::CountColours(Window window, int limit) {
    const auto geometry = Geometry(window);
    if (!geometry || !IsMapped(window)) return std::nullopt;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(geometry->Width),
                              static_cast<unsigned>(geometry->Height), AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    std::unordered_set<unsigned long> seen;
    const bool direct = image->bits_per_pixel == 32;  // read words instead of XGetPixel
    for (int y = 0; y < image->height && static_cast<int>(seen.size()) < limit; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
        for (int x = 0; x < image->width && static_cast<int>(seen.size()) < limit; ++x) {
            seen.insert(direct ? row[x] & 0xffffffu : XGetPixel(image, x, y));
        }
    }
    XDestroyImage(image);
    return static_cast<int>(seen.size());
}

bool XSession::SavePpm(Window window, const std::string& path) {
    const auto geometry = Geometry(window);
    if (!geometry) return false;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(geometry->Width),
                              static_cast<unsigned>(geometry->Height), AllPlanes, ZPixmap);
    if (!image) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) {
        std::fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
        for (int y = 0; y < image->height; ++y) {
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                              static_cast<unsigned char>(pixel >> 8),
                                              static_cast<unsigned char>(pixel)};
                std::fwrite(rgb, 1, 3, file);
            }
        }
        std::fclose(file);
    }
    XDestroyImage(image);
    return file != nullptr;
}

Damage XSession::WatchDamage(Window window, int level) {
    const Damage damage = XDamageCreate(display_, window, level);
    // The server reports the whole window as damaged on creation; that report, queued before
    // XSync returns, says nothing about the window's own painting.
    XSync(display_, False);
    XEvent event;
    while (XCheckTypedEvent(display_, damageEventBase_ + XDamageNotify, &event)) {}
    return damage;
}

void XSession::Forget(Damage damage) {
    XDamageDestroy(display_, damage);
    XSync(display_, False);
}

bool XSession::NextEvent(XEvent& event, double timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    XFlush(display_);
    while (!XPending(display_)) {
        const double left = deadline - NowMs();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, left < 1 ? 1 : static_cast<int>(left));
    }
    XNextEvent(display_, &event);
    return true;
}

}  // namespace avo::bench
