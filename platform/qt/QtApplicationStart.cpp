#include "platform/qt/QtApplicationStart.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QString>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace avo::qt {
namespace {

// Room for a window manager's title bar above a window, in logical pixels.
constexpr int kTitleBarAllowance = 30;

void OpenOnDevNullIfClosed(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return;
    const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    // The lowest free number comes back, this one when the lower ones are open already.
    if (opened >= 0 && opened != fd) {
        ::dup2(opened, fd);
        ::close(opened);
    }
}

// A pipe's writer blocks once the pipe is full. Opened afresh, the pipe gets an open file
// description of the program's own, which may be non-blocking without changing the one that
// the launcher (a shell, say) shares.
void MakeNonBlockingIfPipe(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) return;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const int reopened = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (reopened < 0) return;  // no reader left: a write fails at once anyway
    ::dup2(reopened, fd);
    ::close(reopened);
}

// Caught rather than ignored: a caught signal goes back to its default in the programs that
// this one starts, an ignored one would stay ignored in them.
void IgnoreBrokenPipe(int) {}

// Qt's messages while the application object is made. A platform that cannot start ends in
// qFatal, which aborts with a core dump; the program ends with its own line instead.
struct HeldMessage {
    QtMsgType Type;
    std::string Category;
    QString Text;
};
std::vector<HeldMessage> heldMessages;

std::string EnvironmentShown(const char* name) {
    const char* value = std::getenv(name);
    return std::string(name) + (value ? "=\"" + std::string(value) + "\"" : " not set");
}

[[noreturn]] void EndForFailedPlatform(const QString& fatalMessage) {
    // Qt's first warning about the platform names the cause; its fatal message only that
    // nothing could start. The runtime folder's warnings come first and say nothing of it.
    QString cause = fatalMessage.section(u'\n', 0, 0);
    for (auto held = heldMessages.rbegin(); held != heldMessages.rend(); ++held) {
        if (!held->Text.startsWith(u"QStandardPaths:")) cause = held->Text;
    }
    std::fprintf(stderr, "avodevivu: Qt could not start a display platform (%s, %s, %s): %s\n",
                 EnvironmentShown("QT_QPA_PLATFORM").c_str(), EnvironmentShown("DISPLAY").c_str(),
                 EnvironmentShown("WAYLAND_DISPLAY").c_str(), cause.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) EndForFailedPlatform(message);
    heldMessages.push_back({type, context.category ? context.category : "", message});
}

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(HoldOrEnd);
    auto application = std::make_unique<QApplication>(argc, argv);
    // A plugin that failed to set up its screen (linuxfb without a framebuffer) leaves Qt
    // running with none, and the first window would crash the program.
    if (!QGuiApplication::primaryScreen()) EndForFailedPlatform(QStringLiteral("no screen"));
    qInstallMessageHandler(previous);
    // Qt started: what it said on the way goes out as it would have.
    for (const HeldMessage& held : heldMessages) {
        qt_message_output(held.Type, QMessageLogContext(nullptr, 0, nullptr, held.Category.c_str()),
                          held.Text);
    }
    heldMessages.clear();
    return application;
}

enum class ScaleFactor { NotSet, Usable, Unusable };

ScaleFactor JudgeScaleFactor(const char* value, double& factor) {
    if (!value || !*value) return ScaleFactor::NotSet;
    char* end = nullptr;
    factor = std::strtod(value, &end);
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;  // as Qt reads it
    const bool number = end != value && *end == '\0';
    return number && std::isfinite(factor) && factor > 0 ? ScaleFactor::Usable
                                                         : ScaleFactor::Unusable;
}

void DropScaleFactor(const std::string& why) {
    std::fprintf(stderr, "avodevivu: %s %s; the windows are drawn at 100 %% instead\n",
                 EnvironmentShown("QT_SCALE_FACTOR").c_str(), why.c_str());
    std::fflush(stderr);
    qunsetenv("QT_SCALE_FACTOR");
}

// Only a factor above 1 can be blamed: at 100 % the window is as small as it gets.
bool TooLargeForScreen(double factor, int windowWidth, int windowHeight) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (factor <= 1 || !screen) return false;
    const QRect area = screen->availableGeometry();
    return windowWidth > area.width() || windowHeight + kTitleBarAllowance > area.height();
}

}  // namespace

void GuardStandardStreams() {
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) OpenOnDevNullIfClosed(fd);
    for (int fd : {STDOUT_FILENO, STDERR_FILENO}) MakeNonBlockingIfPipe(fd);
    struct sigaction action {};
    action.sa_handler = IgnoreBrokenPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGPIPE, &action, nullptr);
}

std::unique_ptr<QApplication> StartApplication(const char* programName, int windowWidth,
                                               int windowHeight) {
    // QApplication keeps the argument list for its whole life.
    static std::string name = programName && *programName ? programName : "avodevivu";
    static char* arguments[] = {name.data(), nullptr};
    static int argumentCount = 1;

    double factor = 1;
    const ScaleFactor verdict = JudgeScaleFactor(std::getenv("QT_SCALE_FACTOR"), factor);
    if (verdict == ScaleFactor::Unusable) DropScaleFactor("is not a positive number");
    std::unique_ptr<QApplication> application = MakeApplication(argumentCount, arguments);
    if (verdict == ScaleFactor::Usable && TooLargeForScreen(factor, windowWidth, windowHeight)) {
        application.reset();
        DropScaleFactor("would make the windows larger than the screen");
        application = MakeApplication(argumentCount, arguments);
    }
    return application;
}

}  // namespace avo::qt
