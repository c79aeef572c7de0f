#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "app/Version.h"
#include "platform/qt/AccessibleControls.h"
#include "platform/qt/PlatformChoice.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/ShellCommand.h"

namespace avo::qt {
namespace {

// Why a program could not be started, looked up before trying, since a failed start says
// nothing more than that it failed: not found (nowhere on PATH, or no such file) or not
// allowed (a file that may not be run).
Status WhyNotStartable(const QString& program) {
    const QString path = program.contains('/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists()) return StatusFileNotFound;
    if (!file.isExecutable() || file.isDir()) return StatusFromSystemError(5);  // access denied
    return StatusFailed;
}

}  // namespace

QtWindowSystem::QtWindowSystem(std::unique_ptr<QApplication> application)
    : application_(std::move(application)) {
    // The program, not the last window, decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallAccessibleControls();
}

QtWindowSystem::~QtWindowSystem() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Status QtWindowSystem::Load(const WindowDescription& description, EventSink& sink,
                            std::unique_ptr<NativeWindow>& window) {
    return QtWindow::Load(description, sink, window);
}

// Linux has no show code for a program it starts: the browser decides how it appears.
Status QtWindowSystem::StartProcess(std::string_view commandLine, int /*showCode*/,
                                    std::uint32_t& processId) {
    const std::optional<ShellCommand> command = TranslateCommandLine(commandLine);
    if (!command) return StatusInvalidArgument;
    QStringList arguments;
    for (const std::string& argument : command->Arguments) arguments << ToQString(argument);
    qint64 pid = 0;
    const QString program = ToQString(command->Program);
    if (!QProcess::startDetached(program, arguments, QString(), &pid))
        return WhyNotStartable(program);
    processId = static_cast<std::uint32_t>(pid);
    return StatusOk;
}

void QtWindowSystem::RunEventLoop() {
    if (quitRequested_) return;  // the program ended before its loop began
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void QtWindowSystem::Quit() {
    quitRequested_ = true;
    if (loop_) loop_->exit(0);
}

}  // namespace avo::qt

namespace avo {

std::unique_ptr<WindowSystem> CreateWindowSystem(int& argc, char** argv) {
    const qt::ScopedPlatformChoice platform;
    if (!platform.CanStart()) return nullptr;
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral(AVO_EXECUTABLE_NAME));
    QApplication::setApplicationVersion(QStringLiteral(AVO_VERSION_TEXT));
    QApplication::setOrganizationName(QStringLiteral(AVO_COMPANY_NAME));
    QApplication::setOrganizationDomain(QStringLiteral(AVO_ORGANIZATION_DOMAIN));
    QGuiApplication::setDesktopFileName(QStringLiteral(AVO_EXECUTABLE_NAME));
    return std::make_unique<qt::QtWindowSystem>(std::move(application));
}

}  // namespace avo
