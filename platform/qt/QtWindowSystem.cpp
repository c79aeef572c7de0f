#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/Version.h"
#include "platform/qt/AccessibleControls.h"
#include "platform/qt/PlatformChoice.h"
#include "platform/qt/QtApplicationStart.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/ShellCommand.h"

namespace avo::qt {
namespace {

// Where a program is run from, found as execvp finds it: a name with a slash as it is, else
// the first file of that name on PATH that may be run. Failing that, why: not found, or
// not allowed (there is such a file, but it may not be run). A failed start says no more
// than that it failed, so the program looks first.
struct ProgramLookup {
    std::string Path;  // the file found, or the name when there is none
    Status Why = StatusOk;
};

bool MayRun(const std::string& path) {
    struct stat file {};
    return ::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool Exists(const std::string& path) {
    struct stat file {};
    return ::stat(path.c_str(), &file) == 0;
}

ProgramLookup FindProgram(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        if (MayRun(program)) return {program, StatusOk};
        return {program, Exists(program) ? StatusAccessDenied : StatusFileNotFound};
    }
    const char* searchPath = std::getenv("PATH");
    ProgramLookup found{program, StatusFileNotFound};
    std::string_view folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = std::min(folders.find(':'), folders.size());
        const std::string_view folder = folders.substr(0, colon);  // empty: the working folder
        const std::string path = (folder.empty() ? "." : std::string(folder)) + "/" + program;
        if (MayRun(path)) return {path, StatusOk};
        if (found.Why == StatusFileNotFound && Exists(path)) found = {path, StatusAccessDenied};
        if (colon == folders.size()) return found;
        folders.remove_prefix(colon + 1);
    }
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
    const ProgramLookup program = FindProgram(command->Program);
    if (Failed(program.Why)) return program.Why;
    QStringList arguments;
    for (const std::string& argument : command->Arguments) arguments << ToQString(argument);
    qint64 pid = 0;
    if (!QProcess::startDetached(ToQString(program.Path), arguments, QString(), &pid)) {
        return StatusFailed;
    }
    processId = static_cast<std::uint32_t>(pid);
    return StatusOk;
}

std::string QtWindowSystem::ProgramStartedBy(std::string_view commandLine) const {
    const std::optional<ShellCommand> command = TranslateCommandLine(commandLine);
    return command ? FindProgram(command->Program).Path : std::string();
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

std::unique_ptr<WindowSystem> CreateWindowSystem(const char* programName,
                                                 const WindowDescription& startUpWindow) {
    qt::GuardStandardStreams();
    const qt::ScopedPlatformChoice platform;
    if (!platform.CanStart()) return nullptr;
    std::unique_ptr<QApplication> application =
        qt::StartApplication(programName, TwipsToPixels(startUpWindow.ClientWidth),
                             TwipsToPixels(startUpWindow.ClientHeight));
    QApplication::setApplicationName(QStringLiteral(AVO_EXECUTABLE_NAME));
    QApplication::setApplicationVersion(QStringLiteral(AVO_VERSION_TEXT));
    QApplication::setOrganizationName(QStringLiteral(AVO_COMPANY_NAME));
    QApplication::setOrganizationDomain(QStringLiteral(AVO_ORGANIZATION_DOMAIN));
    QGuiApplication::setDesktopFileName(QStringLiteral(AVO_EXECUTABLE_NAME));
    return std::make_unique<qt::QtWindowSystem>(std::move(application));
}

}  // namespace avo
