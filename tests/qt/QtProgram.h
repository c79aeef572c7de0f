#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>
#include <sstream>

#include "platform/qt/FormWidget.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/conformance/RunningProgram.h"

namespace avo::testing {

// The loaded (not yet unloaded) top-level widget of a window, or null.
inline qt::FormWidget* LoadedForm(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<qt::FormWidget*>(widget);
        if (form && form->objectName() == name && form->IsAttached()) return form;
    }
    return nullptr;
}

template <class Widget>
Widget* ControlOf(const QString& window, const QString& control) {
    qt::FormWidget* form = LoadedForm(window);
    return form ? form->findChild<Widget*>(control) : nullptr;
}

// A stand-in for xdg-open, first on PATH while it lives: it writes each argument it is
// given on a line of its own, after a line that counts them. No test starts a real browser.
class FakeOpener {
public:
    FakeOpener() : oldPath_(qgetenv("PATH")) {
        QFile script(dir_.filePath("xdg-open"));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\n{ echo \"$#\"; printf '%s\\n' \"$@\"; } >> '" +
                     LogPath().toUtf8() + "'\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        script.close();
        qputenv("PATH", dir_.path().toUtf8() + ":" + oldPath_);
    }
    ~FakeOpener() { qputenv("PATH", oldPath_); }

    QString LogPath() const { return dir_.filePath("calls.log"); }
    // Every line the fake has written so far.
    QStringList Log() const {
        QFile log(LogPath());
        if (!log.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
};

// The whole program on the real Qt backend, started: the main window is up. Destroying it
// frees every widget it made.
struct QtProgram {
    FakeOpener opener;
    qt::QtWindowSystem system;
    RunningProgram running{system};
    Shell& shell = running.shell;
    std::ostringstream& diagnostics = running.diagnostics;
};

// Each test starts the program afresh, its main window active, and ends with every widget
// freed.
class QtProgramTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<QtProgram> program;

private slots:
    void init() {
        program = std::make_unique<QtProgram>();
        QVERIFY(QTest::qWaitForWindowActive(LoadedForm("Form1")));
    }
    void cleanup() {
        program.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

}  // namespace avo::testing
