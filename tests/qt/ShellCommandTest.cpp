#include <QTest>

#include "platform/qt/ShellCommand.h"

using avo::qt::TranslateCommandLine;

class ShellCommandTest : public QObject {
    Q_OBJECT
private slots:
    void ProgramAndArgument_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QString hostile =
            "http://x.example/?a=1;rm -rf ~ $(touch pwned) `id` 'q' \"z\" | w & v > f";
        // clang-format off
        QTest::newRow("site launch") << "explorer.exe http://www.kavrelonix.example" << "xdg-open"
                                     << QStringList{"http://www.kavrelonix.example"};
        QTest::newRow("shell metacharacters stay one argument")
            << "explorer.exe " + hostile << "xdg-open" << QStringList{hostile};
        QTest::newRow("only separating blanks go") << "  explorer.exe \t  a  b  " << "xdg-open"
                                                   << QStringList{"a  b  "};
        QTest::newRow("any case, with a path") << R"(C:\WINDOWS\Explorer.EXE http://a)"
                                               << "xdg-open" << QStringList{"http://a"};
        QTest::newRow("quoted program") << R"("C:\Windows\explorer.exe"http://a)" << "xdg-open"
                                        << QStringList{"http://a"};
        QTest::newRow("no argument") << "explorer" << "xdg-open" << QStringList{};
        QTest::newRow("other programs keep their name") << R"("C:\Program Files\x.exe" a b)"
                                                        << R"(C:\Program Files\x.exe)"
                                                        << QStringList{"a b"};
        QTest::newRow("a longer name is another program") << "explorer.exe.bak x"
                                                          << "explorer.exe.bak" << QStringList{"x"};
        // A line that names no program translates to nothing.
        QTest::newRow("empty") << "" << "" << QStringList{};
        QTest::newRow("blanks") << " \t " << "" << QStringList{};
        QTest::newRow("empty quotes") << "\"\" http://a" << "" << QStringList{};
        // clang-format on
    }
    void ProgramAndArgument() {
        QFETCH(QString, commandLine);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const auto command = TranslateCommandLine(commandLine.toStdString());
        QCOMPARE(command.has_value(), !program.isEmpty());
        if (!command) return;
        QCOMPARE(QString::fromStdString(command->Program), program);
        QStringList actual;
        for (const std::string& argument : command->Arguments)
            actual << QString::fromStdString(argument);
        QCOMPARE(actual, arguments);
    }
};

QTEST_APPLESS_MAIN(ShellCommandTest)
#include "ShellCommandTest.moc"
