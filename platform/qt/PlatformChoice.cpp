#include "platform/qt/PlatformChoice.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <wayland-client.h>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace avo::qt {
namespace {

// A remote X server that does not answer at all should not hold the start up for long.
constexpr int kConnectTimeoutMs = 2000;

// Owns a socket descriptor and closes it.
class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(other.Release()) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Fd() const { return fd_; }
    // Hands the descriptor to a new owner, which closes it.
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool ConnectsWithin(int fd, const sockaddr* address, socklen_t length) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (::connect(fd, address, length) == 0) return true;
    if (errno != EINPROGRESS) return false;
    pollfd wait{.fd = fd, .events = POLLOUT, .revents = 0};
    if (::poll(&wait, 1, kConnectTimeoutMs) != 1) return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// A connected socket to a path, or with abstract set to a name in Linux's abstract socket
// namespace (where X servers listen too); its descriptor is -1 when none answers.
Socket ConnectLocal(std::string_view path, bool abstract = false) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.empty() || offset + path.size() >= sizeof address.sun_path) return Socket(-1);
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               path.size() + (abstract ? 0 : 1));
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Fd() < 0 ||
        !ConnectsWithin(socket.Fd(), reinterpret_cast<sockaddr*>(&address), length)) {
        return Socket(-1);
    }
    // The probe below speaks over it: blocking again, as libwayland expects.
    ::fcntl(socket.Fd(), F_SETFL, ::fcntl(socket.Fd(), F_GETFL) & ~O_NONBLOCK);
    return socket;
}

bool LocalSocketAnswers(std::string_view path, bool abstract = false) {
    return ConnectLocal(path, abstract).Fd() >= 0;
}

bool TcpAnswers(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool answers = false;
    for (addrinfo* a = found; a && !answers; a = a->ai_next) {
        Socket socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        answers = socket.Fd() >= 0 && ConnectsWithin(socket.Fd(), a->ai_addr, a->ai_addrlen);
    }
    ::freeaddrinfo(found);
    return answers;
}

// An X display name: [protocol/][host]:number[.screen].
struct XDisplayName {
    std::string Protocol;
    std::string Host;
    int Number = 0;
};

std::optional<XDisplayName> ParseXDisplay(std::string_view display) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    XDisplayName name;
    std::string_view host = display.substr(0, colon);
    if (const std::size_t slash = host.find('/'); slash != std::string_view::npos) {
        name.Protocol = host.substr(0, slash);
        host = host.substr(slash + 1);
    }
    name.Host = host;
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.size() > 5 || (!host.empty() && host.back() == ':'))
        return std::nullopt;
    for (char digit : number) {
        if (digit < '0' || digit > '9') return std::nullopt;
        name.Number = name.Number * 10 + (digit - '0');
    }
    return name;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Qt looks for its platform plugins in its own plugin folder and in QT_PLUGIN_PATH.
bool WaylandPluginInstalled() {
    QStringList folders{QLibraryInfo::path(QLibraryInfo::PluginsPath)};
    folders += QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH")).split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms.entryList({QStringLiteral("*qwayland*")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

// A user's platform that needs a display is held to it; any other (offscreen, vnc, a list
// with fallbacks) is Qt's business.
bool UserPlatformLacksItsDisplay(const DisplayEnvironment& environment) {
    const std::string& platform = environment.UserPlatform;
    if (platform == "xcb") return !environment.XServer;
    if (platform == "wayland" || platform == "wayland-egl") return !environment.WaylandServer;
    return false;
}

}  // namespace

PlatformChoice ChoosePlatform(const DisplayEnvironment& environment) {
    if (!environment.UserPlatform.empty()) {
        if (UserPlatformLacksItsDisplay(environment)) return {PlatformVerdict::NoDisplay, {}};
        return {PlatformVerdict::UserChoice, environment.UserPlatform};
    }
    // XWayland first; the compositor itself if the X server turns the program away after
    // all (its socket answers, its authorisation may still refuse).
    if (environment.XServer && environment.WaylandServer && environment.WaylandPlugin) {
        return {PlatformVerdict::Chosen, "xcb;wayland"};
    }
    if (environment.XServer) return {PlatformVerdict::Chosen, "xcb"};
    if (environment.WaylandServer) {
        if (!environment.WaylandPlugin) return {PlatformVerdict::NoWaylandPlugin, {}};
        return {PlatformVerdict::Chosen, "wayland"};
    }
    return {PlatformVerdict::NoDisplay, {}};
}

namespace {

std::string Described(const char* variable, const std::string& value,
                      const std::string& refusal = {}) {
    if (value.empty()) return std::string(variable) + " not set";
    return std::string(variable) + "=\"" + value + "\" " +
           (refusal.empty() ? "does not answer" : refusal);
}

}  // namespace

std::string RefusalLine(const DisplayEnvironment& environment, const PlatformChoice& choice) {
    switch (choice.Verdict) {
        case PlatformVerdict::UserChoice:
        case PlatformVerdict::Chosen: return {};
        case PlatformVerdict::NoDisplay:
            return "avodevivu: no desktop display could be reached (" +
                   Described("DISPLAY", environment.XDisplay, environment.XRefusal) + ", " +
                   Described("WAYLAND_DISPLAY", environment.WaylandDisplay) +
                   "); start it from a desktop session, or set DISPLAY to a running X server "
                   "(ssh -X does that) or WAYLAND_DISPLAY to a running Wayland compositor";
        case PlatformVerdict::NoWaylandPlugin:
            return "avodevivu: the Wayland compositor at WAYLAND_DISPLAY=\"" +
                   environment.WaylandDisplay +
                   "\" has no X server beside it and Qt's Wayland platform plugin is not "
                   "installed; install it (Debian: qt6-wayland) or start XWayland";
    }
    return {};
}

bool XServerAnswers(std::string_view display) {
    const std::optional<XDisplayName> name = ParseXDisplay(display);
    if (!name) return false;
    const bool local = name->Host.empty() || name->Host == "unix" || name->Protocol == "unix";
    if (!local) return TcpAnswers(name->Host, 6000 + name->Number);
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(name->Number);
    return LocalSocketAnswers(socket, true) || LocalSocketAnswers(socket);
}

namespace {

// Where a Wayland display name leads: an absolute path, or a name in the runtime folder.
std::string WaylandSocketPath(std::string_view display, std::string_view runtimeDirectory) {
    if (!display.empty() && display.front() == '/') return std::string(display);
    if (display.empty() || runtimeDirectory.empty()) return {};
    return std::string(runtimeDirectory) + "/" + std::string(display);
}

// What the compositor said before it answered the probe's sync request.
struct DecorationProbe {
    bool Offered = false;
    bool Answered = false;
};

// The compositor announces the protocol by which a client asks it to draw the title bar.
void NoteDecorationManager(void* probe, wl_registry*, std::uint32_t, const char* interface,
                           std::uint32_t) {
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) {
        static_cast<DecorationProbe*>(probe)->Offered = true;
    }
}

void IgnoreRemoval(void*, wl_registry*, std::uint32_t) {}

void NoteAnswer(void* probe, wl_callback*, std::uint32_t) {
    static_cast<DecorationProbe*>(probe)->Answered = true;
}

// A compositor announces all its globals before it answers a sync request. One that says
// nothing for as long as a connection may take is taken to offer nothing.
void WaitForAnswer(wl_display* connection, DecorationProbe& probe) {
    wl_display_flush(connection);
    while (!probe.Answered) {
        pollfd wait{.fd = wl_display_get_fd(connection), .events = POLLIN, .revents = 0};
        if (::poll(&wait, 1, kConnectTimeoutMs) != 1 || wl_display_dispatch(connection) < 0) return;
    }
}

}  // namespace

bool WaylandServerAnswers(std::string_view display, std::string_view runtimeDirectory) {
    return LocalSocketAnswers(WaylandSocketPath(display, runtimeDirectory));
}

bool NeedsOwnTitleBar(std::string_view platformName, bool compositorDrawsTitleBars) {
    return platformName.starts_with("wayland") && !compositorDrawsTitleBars;
}

bool CompositorDrawsTitleBars(std::string_view display, std::string_view runtimeDirectory) {
    Socket socket =
        ConnectLocal(WaylandSocketPath(display.empty() ? "wayland-0" : display, runtimeDirectory));
    if (socket.Fd() < 0) return false;
    wl_display* connection = wl_display_connect_to_fd(socket.Release());
    if (!connection) return false;
    DecorationProbe probe;
    static const wl_registry_listener registryListener{NoteDecorationManager, IgnoreRemoval};
    static const wl_callback_listener syncListener{NoteAnswer};
    wl_registry* registry = wl_display_get_registry(connection);
    wl_registry_add_listener(registry, &registryListener, &probe);
    wl_callback* sync = wl_display_sync(connection);
    wl_callback_add_listener(sync, &syncListener, &probe);
    WaitForAnswer(connection, probe);
    wl_callback_destroy(sync);
    wl_registry_destroy(registry);
    wl_display_disconnect(connection);
    return probe.Answered && probe.Offered;
}

bool OwnTitleBarNeeded() {
    // Qt's own connection cannot be borrowed without its private headers, so the compositor is
    // asked over a short connection of the program's own, once.
    static const bool needed = [] {
        const std::string platform = QGuiApplication::platformName().toStdString();
        const bool leftToClients = NeedsOwnTitleBar(platform, false);  // only Wayland clients ask
        return leftToClients && !CompositorDrawsTitleBars(Environment("WAYLAND_DISPLAY"),
                                                          Environment("XDG_RUNTIME_DIR"));
    }();
    return needed;
}

DisplayEnvironment ReadDisplayEnvironment() {
    DisplayEnvironment environment;
    environment.UserPlatform = Environment("QT_QPA_PLATFORM");
    environment.XDisplay = Environment("DISPLAY");
    environment.WaylandDisplay = Environment("WAYLAND_DISPLAY");
    environment.XServer = XServerAnswers(environment.XDisplay);
    if (environment.XServer) environment.XRefusal = XServerRefusal(environment.XDisplay);
    environment.XServer = environment.XServer && environment.XRefusal.empty();
    // A compositor that started the program may hand it a connected socket instead.
    environment.WaylandServer =
        !Environment("WAYLAND_SOCKET").empty() ||
        WaylandServerAnswers(environment.WaylandDisplay, Environment("XDG_RUNTIME_DIR"));
    environment.WaylandPlugin = environment.WaylandServer && WaylandPluginInstalled();
    return environment;
}

ScopedPlatformChoice::ScopedPlatformChoice() {
    const DisplayEnvironment environment = ReadDisplayEnvironment();
    const PlatformChoice choice = ChoosePlatform(environment);
    if (choice.Verdict == PlatformVerdict::Chosen) {
        platformSet_ = qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.Platform));
    }
    const std::string refusal = RefusalLine(environment, choice);
    canStart_ = refusal.empty();
    if (!canStart_) std::fprintf(stderr, "%s\n", refusal.c_str());
}

ScopedPlatformChoice::~ScopedPlatformChoice() {
    if (platformSet_) qunsetenv("QT_QPA_PLATFORM");
    ReleaseXServerProbe();
}

}  // namespace avo::qt
