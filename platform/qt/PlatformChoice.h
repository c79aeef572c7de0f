#pragma once

#include <string>
#include <string_view>

namespace avo::qt {

// Which of Qt's platform plugins the program starts on, chosen before the application
// object exists. Qt itself aborts the process when it cannot reach a display; the program
// looks first, so that it can say so in one line and end with status 1.
//
// The X11 platform is preferred wherever an X server answers, XWayland in a Wayland
// session included: there the program places its windows itself (centred on the screen,
// the About window over the main window) and brings them to the front, which a Wayland
// client may only ask the compositor for. A platform that the user chose always wins.

// What the desktop offers, as far as can be told before Qt connects to it.
struct DisplayEnvironment {
    std::string UserPlatform;    // QT_QPA_PLATFORM, empty when the user chose none
    std::string XDisplay;        // DISPLAY, as set
    std::string WaylandDisplay;  // WAYLAND_DISPLAY, as set
    bool XServer = false;        // DISPLAY names an X server that accepts a connection
    std::string XRefusal;        // why an X server that answers turns the program away
    bool WaylandServer = false;  // WAYLAND_DISPLAY names a compositor that accepts one
    bool WaylandPlugin = false;  // Qt's Wayland platform plugin is installed
};

enum class PlatformVerdict {
    UserChoice,       // the user's QT_QPA_PLATFORM stands
    Chosen,           // QT_QPA_PLATFORM is to be set to Platform
    NoDisplay,        // no display that the platform needs answers
    NoWaylandPlugin,  // only a Wayland compositor answers, and Qt cannot talk to it
};

struct PlatformChoice {
    PlatformVerdict Verdict = PlatformVerdict::NoDisplay;
    std::string Platform;  // for Chosen: Qt's platform list, tried in order
};

PlatformChoice ChoosePlatform(const DisplayEnvironment& environment);

// The one line that says why the program cannot start; empty when it can.
std::string RefusalLine(const DisplayEnvironment& environment, const PlatformChoice& choice);

// Whether a display name from DISPLAY or WAYLAND_DISPLAY accepts a connection. Only the
// socket is tried: nothing is said to the server.
bool XServerAnswers(std::string_view display);
bool WaylandServerAnswers(std::string_view display, std::string_view runtimeDirectory);

// Why the X server of a display that answers will not serve the program (it refuses the
// connection, or has no such screen), as words for the refusal line; empty when it serves.
// This one does connect: Qt aborts the process on either, so the program asks first.
std::string XServerRefusal(std::string_view display);
// Lets the connection that XServerRefusal keeps open for Qt's sake go, once Qt has its own.
void ReleaseXServerProbe();

// Whether the windows need a title bar of the program's own: as a native Wayland client of a
// compositor that leaves title bars to its clients. There Qt 6.4 draws its own, with a
// maximise box on every window, fixed-size ones included; a compositor that draws title
// bars itself knows to leave that box off a window that cannot change size.
bool NeedsOwnTitleBar(std::string_view platformName, bool compositorDrawsTitleBars);

// Whether the Wayland compositor at display (empty: Wayland's default one) offers to draw
// its clients' title bars; false when it cannot be asked.
bool CompositorDrawsTitleBars(std::string_view display, std::string_view runtimeDirectory);

// The same for the running application, decided once, on first use.
bool OwnTitleBarNeeded();

// Reads the environment and tries the sockets it names.
DisplayEnvironment ReadDisplayEnvironment();

// Chooses the platform for the application object that is about to be made, or writes to
// standard error why none can be reached. The choice stays in QT_QPA_PLATFORM only while
// this object lives, so that the programs that this one starts do not inherit it.
class ScopedPlatformChoice {
public:
    ScopedPlatformChoice();
    ~ScopedPlatformChoice();
    ScopedPlatformChoice(const ScopedPlatformChoice&) = delete;
    ScopedPlatformChoice& operator=(const ScopedPlatformChoice&) = delete;

    bool CanStart() const { return canStart_; }

private:
    bool canStart_ = false;
    bool platformSet_ = false;
};

}  // namespace avo::qt
