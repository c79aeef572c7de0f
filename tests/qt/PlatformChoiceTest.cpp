#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <wayland-server.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/PlatformChoice.h"

using avo::qt::ChoosePlatform;
using avo::qt::DisplayEnvironment;
using avo::qt::PlatformVerdict;

namespace {

// What answers on a desktop, and the platform the program should choose there.
struct Answers {
    const char* User;  // QT_QPA_PLATFORM
    bool X, Wayland, Plugin;
    PlatformVerdict Verdict;
    const char* Platform;
};

// A listening socket that stands in for a display server: it accepts and says nothing.
class Listener {
public:
    Listener(int family, const sockaddr* address, socklen_t length)
        : fd_(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        if (fd_ >= 0 && (::bind(fd_, address, length) != 0 || ::listen(fd_, 4) != 0)) Close();
    }
    ~Listener() { Close(); }
    bool Listening() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int Fd() const { return fd_; }
    void Release() { fd_ = -1; }  // another owner closes it

private:
    int fd_;
};

Listener ListenAt(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return Listener(AF_UNIX, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

// An X server on the loopback interface listens on port 6000 plus its display number.
Listener ListenOnLoopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return Listener(AF_INET, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

// Interfaces with no requests or events: enough for a compositor to announce them.
const wl_interface kWindowManagerBase{"xdg_wm_base", 1, 0, nullptr, 0, nullptr};
const wl_interface kDecorationManager{"zxdg_decoration_manager_v1", 1, 0, nullptr, 0, nullptr};

// A Wayland compositor on a socket of the test's own, on a thread of its own: it announces
// the given interfaces and answers the core protocol's requests.
class FakeCompositor {
public:
    FakeCompositor(const std::string& path, const std::vector<const wl_interface*>& globals)
        : display_(wl_display_create()) {
        for (const wl_interface* global : globals) {
            wl_global_create(display_, global, 1, nullptr,
                             [](wl_client*, void*, std::uint32_t, std::uint32_t) {});
        }
        Listener socket = ListenAt(path);
        listening_ = socket.Listening() && wl_display_add_socket_fd(display_, socket.Fd()) == 0;
        if (listening_) socket.Release();
        loop_ = std::jthread([this](std::stop_token stop) {
            while (!stop.stop_requested()) {
                wl_event_loop_dispatch(wl_display_get_event_loop(display_), 20);
                wl_display_flush_clients(display_);
            }
        });
    }
    ~FakeCompositor() {
        loop_ = {};  // stops and joins
        // A probe that has hung up may not have been dispatched yet; its client goes too.
        wl_display_destroy_clients(display_);
        wl_display_destroy(display_);
    }
    bool Listening() const { return listening_; }

private:
    wl_display* display_;
    bool listening_ = false;
    std::jthread loop_;
};

}  // namespace

Q_DECLARE_METATYPE(Answers)

class PlatformChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void ChoosesByWhatAnswers_data() {
        QTest::addColumn<Answers>("answers");
        using enum PlatformVerdict;
        // clang-format off
        QTest::newRow("XWayland beside the compositor")
            << Answers{"", true, true, true, Chosen, "xcb;wayland"};
        QTest::newRow("XWayland, no Wayland plugin")
            << Answers{"", true, true, false, Chosen, "xcb"};
        QTest::newRow("X11 session") << Answers{"", true, false, false, Chosen, "xcb"};
        QTest::newRow("Wayland without XWayland")
            << Answers{"", false, true, true, Chosen, "wayland"};
        QTest::newRow("Wayland, no plugin, no XWayland")
            << Answers{"", false, true, false, NoWaylandPlugin, ""};
        QTest::newRow("nothing answers") << Answers{"", false, false, true, NoDisplay, ""};
        QTest::newRow("user's wayland wins over XWayland")
            << Answers{"wayland", true, true, true, UserChoice, "wayland"};
        QTest::newRow("user's offscreen needs no display")
            << Answers{"offscreen", false, false, false, UserChoice, "offscreen"};
        QTest::newRow("user's xcb without an X server")
            << Answers{"xcb", false, true, true, NoDisplay, ""};
        QTest::newRow("user's wayland without a compositor")
            << Answers{"wayland", true, false, true, NoDisplay, ""};
        // clang-format on
    }

    void ChoosesByWhatAnswers() {
        QFETCH(Answers, answers);
        const DisplayEnvironment environment{.UserPlatform = answers.User,
                                             .XServer = answers.X,
                                             .WaylandServer = answers.Wayland,
                                             .WaylandPlugin = answers.Plugin};
        const avo::qt::PlatformChoice choice = ChoosePlatform(environment);
        QCOMPARE(choice.Verdict, answers.Verdict);
        if (answers.Verdict == PlatformVerdict::Chosen) QCOMPARE(choice.Platform, answers.Platform);
        const std::string refusal = avo::qt::RefusalLine(environment, choice);
        const bool refused = answers.Verdict == PlatformVerdict::NoDisplay ||
                             answers.Verdict == PlatformVerdict::NoWaylandPlugin;
        QCOMPARE(refusal.empty(), !refused);
        QVERIFY(refusal.find('\n') == std::string::npos);
    }

    // The line names what was tried, so that the user sees which variable to fix.
    void RefusalNamesTheDisplaysTried() {
        const DisplayEnvironment environment{.XDisplay = ":71"};
        const std::string line = avo::qt::RefusalLine(environment, ChoosePlatform(environment));
        QVERIFY(line.starts_with("avodevivu: no desktop display could be reached"));
        QVERIFY(line.find("DISPLAY=\":71\" does not answer") != std::string::npos);
        QVERIFY(line.find("WAYLAND_DISPLAY not set") != std::string::npos);
        // An X server that answers and still turns the program away is named with its reason.
        const DisplayEnvironment refusing{.XDisplay = ":71.5", .XRefusal = "has no screen 5"};
        QVERIFY(avo::qt::RefusalLine(refusing, ChoosePlatform(refusing))
                    .find("DISPLAY=\":71.5\" has no screen 5") != std::string::npos);
    }

    // A socket file that nobody listens on any more refuses, as after a compositor crashed.
    void WaylandAnswersOnlyWhileListening() {
        QTemporaryDir runtime;
        const std::string directory = runtime.path().toStdString();
        Listener compositor = ListenAt(directory + "/wayland-test");
        QVERIFY(compositor.Listening());
        QVERIFY(avo::qt::WaylandServerAnswers("wayland-test", directory));
        QVERIFY(avo::qt::WaylandServerAnswers(directory + "/wayland-test", ""));
        QVERIFY(!avo::qt::WaylandServerAnswers("wayland-test", ""));  // no runtime folder
        QVERIFY(!avo::qt::WaylandServerAnswers("wayland-other", directory));
        QVERIFY(!avo::qt::WaylandServerAnswers("", directory));
        compositor.Close();
        QVERIFY(!avo::qt::WaylandServerAnswers("wayland-test", directory));
    }

    // Only a Wayland window draws its own title bar, and only where the compositor draws none.
    void TitleBarOfItsOwnOnlyWhereTheCompositorDrawsNone() {
        // clang-format off
        const struct { const char* Platform; bool CompositorDraws; bool Needed; } cases[] = {
            {"wayland", false, true}, {"wayland", true, false}, {"wayland-egl", false, true},
            {"xcb", false, false}, {"offscreen", false, false}};
        // clang-format on
        for (const auto& [platform, draws, needed] : cases) {
            QVERIFY2(avo::qt::NeedsOwnTitleBar(platform, draws) == needed,
                     qPrintable(QString("%1, compositor draws: %2").arg(platform).arg(draws)));
        }
    }

    // The compositor is asked what it announces: a compositor that draws title bars (KWin)
    // announces the decoration manager; one that leaves them to clients (weston, mutter) does
    // not. One that is not there, or never answers, draws none.
    void AsksTheCompositorWhetherItDrawsTitleBars() {
        QTemporaryDir runtime;
        const std::string directory = runtime.path().toStdString();
        using avo::qt::CompositorDrawsTitleBars;
        {
            FakeCompositor drawing(directory + "/wayland-0",
                                   {&kWindowManagerBase, &kDecorationManager});
            QVERIFY(drawing.Listening());
            QVERIFY(CompositorDrawsTitleBars("wayland-0", directory));
            QVERIFY(CompositorDrawsTitleBars(directory + "/wayland-0", ""));
            QVERIFY(CompositorDrawsTitleBars("", directory));  // Wayland's default display
        }
        {
            FakeCompositor leaving(directory + "/wayland-1", {&kWindowManagerBase});
            QVERIFY(leaving.Listening());
            QVERIFY(!CompositorDrawsTitleBars("wayland-1", directory));
        }
        QVERIFY(!CompositorDrawsTitleBars("wayland-gone", directory));
        Listener silent = ListenAt(directory + "/wayland-silent");
        QVERIFY(silent.Listening());
        QVERIFY(!CompositorDrawsTitleBars("wayland-silent", directory));
    }

    void XDisplayOverTcp() {
        // A display number whose port is free here; its socket listens only for this test.
        for (int number = 4000; number < 4100; ++number) {
            Listener server = ListenOnLoopback(6000 + number);
            if (!server.Listening()) continue;
            const std::string name = std::to_string(number);
            QVERIFY(avo::qt::XServerAnswers("127.0.0.1:" + name));
            QVERIFY(avo::qt::XServerAnswers("127.0.0.1:" + name + ".0"));
            QVERIFY(avo::qt::XServerAnswers("tcp/127.0.0.1:" + name));
            server.Close();
            QVERIFY(!avo::qt::XServerAnswers("127.0.0.1:" + name));
            return;
        }
        QSKIP("no free port from 10000 to 10099");
    }

    // Started from a text console or an ssh session without X forwarding, the program says
    // why it cannot start in one line and ends with status 1, not with Qt's abort.
    void ProgramWithoutDisplayEndsWithOneLine_data() {
        QTest::addColumn<QStringList>("variables");
        // clang-format off
        QTest::newRow("no display at all") << QStringList{};
        QTest::newRow("an X display that refuses") << QStringList{"DISPLAY=127.0.0.1:4199"};
        QTest::newRow("a Wayland socket that is not there")
            << QStringList{"WAYLAND_DISPLAY=avo-no-such-compositor",
                           "XDG_RUNTIME_DIR=/nonexistent"};
        QTest::newRow("the user's xcb with no X server")
            << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY=127.0.0.1:4199"};
        // clang-format on
    }

    void ProgramWithoutDisplayEndsWithOneLine() {
        QFETCH(QStringList, variables);
        QProcess program;
        program.setEnvironment(QStringList{"PATH=/usr/bin:/bin"} + variables);
        program.start(QStringLiteral(AVO_PROGRAM_PATH), {});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        const QString error = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(error.startsWith("avodevivu: no desktop display could be reached"),
                 qPrintable(error));
        QCOMPARE(error.count('\n'), 1);
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PlatformChoiceTest)
#include "PlatformChoiceTest.moc"
