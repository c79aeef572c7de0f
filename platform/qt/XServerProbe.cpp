#include "platform/qt/PlatformChoice.h"

#include <xcb/xcb.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

namespace avo::qt {
namespace {

// What is written to standard error while it lives: libxcb writes a server's reason for
// turning a connection away there itself, and the program says it in its own line instead.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        if (saved_ >= 0) ::dup2(pipe_[1], STDERR_FILENO);
    }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;
    ~StandardErrorCapture() {
        Restore();
        for (int fd : pipe_) {
            if (fd >= 0) ::close(fd);
        }
    }
    // Puts standard error back and gives what was written to it, on one line.
    std::string Restore() {
        if (saved_ < 0) return {};
        ::dup2(saved_, STDERR_FILENO);
        ::close(std::exchange(saved_, -1));
        std::string text(512, '\0');
        const ssize_t length = ::read(pipe_[0], text.data(), text.size());
        text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        std::replace(text.begin(), text.end(), '\n', ' ');
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }

private:
    int pipe_[2] = {-1, -1};
    int saved_ = -1;
};

// An X server that loses its last client resets itself and turns connections away while it
// does (Xvfb and bare sessions run so). Where the program is the server's only client, the
// probe's connection going would make Qt's own, a moment later, fail; so it is held open
// until Qt has connected.
struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
// How long a resetting server is waited for: 40 tries 50 ms apart.
constexpr int kResetAttempts = 40;
constexpr useconds_t kResetPauseUs = 50'000;

std::unique_ptr<xcb_connection_t, XcbDisconnect>& HeldProbeConnection() {
    static std::unique_ptr<xcb_connection_t, XcbDisconnect> held;
    return held;
}

}  // namespace

std::string XServerRefusal(std::string_view display) {
    // A server that is resetting, after another program was its last client, closes new
    // connections without a word for a moment; a refusal says why, or names a screen.
    for (int attempt = 1;; ++attempt) {
        StandardErrorCapture capture;
        // Given somewhere to put the screen number, xcb checks that the screen exists.
        int screen = 0;
        std::unique_ptr<xcb_connection_t, XcbDisconnect> connection(
            xcb_connect(std::string(display).c_str(), &screen));
        const int error = xcb_connection_has_error(connection.get());
        const std::string serverSaid = capture.Restore();
        if (error == XCB_CONN_ERROR && serverSaid.empty() && attempt < kResetAttempts) {
            ::usleep(kResetPauseUs);
            continue;
        }
        if (error == 0) {
            HeldProbeConnection() = std::move(connection);
            return {};
        }
        if (error == XCB_CONN_CLOSED_INVALID_SCREEN)
            return "has no screen " + std::to_string(screen);
        // Mostly a missing or wrong authorisation cookie (XAUTHORITY).
        if (serverSaid.empty()) return "refuses the connection";
        return "refuses the connection (" + serverSaid + ")";
    }
}

void ReleaseXServerProbe() { HeldProbeConnection().reset(); }

}  // namespace avo::qt
