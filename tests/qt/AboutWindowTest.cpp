#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "QtProgram.h"

namespace avo::testing {

// The About window as the real program opens it on the Qt backend.
class AboutWindowTest : public QtProgramTest {
    Q_OBJECT
private:
    QWidget* About() { return LoadedForm("Text"); }
    void OpenAbout() { QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton); }

private slots:
    void AboutWindowLooksAsDrawn() {
        OpenAbout();
        QWidget* about = About();
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(about->size(), QSize(560, 349));
        QVERIFY(about->windowIcon().isNull());
        // clang-format off
        const struct { const char* name; QRect bounds; const char* text; } controls[] = {
            {"Picture1", {528, 320, 17, 17}, nullptr},
            {"Label1", {160, 144, 289, 73}, "Kavrelonix"},
            {"Label2", {168, 272, 265, 17}, "Tolvren Asukay tarafından Kavrelonix için yazılmıştır"},
            {"Label3", {216, 304, 161, 17}, "tolvren@kavrelonix.example"}};
        // clang-format on
        for (const auto& control : controls) {
            QWidget* widget = ControlOf<QWidget>("Text", control.name);
            QCOMPARE(widget->geometry(), control.bounds);
            if (control.text)
                QCOMPARE(qobject_cast<QLabel*>(widget)->text(), QString(control.text));
        }
        // The window's own font keeps the credit and the address on the one line that their
        // boxes have room for.
        for (const char* name : {"Label2", "Label3"}) {
            auto* line = ControlOf<QLabel>("Text", name);
            QVERIFY2(line->fontMetrics().horizontalAdvance(line->text()) <= line->width(), name);
        }
        const QImage shot = about->grab().toImage();
        QCOMPARE(shot.pixelColor(559, 100), QColor(Qt::black));           // beside the 558-wide map
        QCOMPARE(shot.pixelColor(528 + 16, 320 + 16), QColor(0, 0, 64));  // beside the exit picture
    }

    void StartedProgramGetsTheAddressAsOneArgument() {
        const QString address = "http://a.example/?q=1;touch pwned $(id) `id` 'x' \"y\" | z &";
        std::uint32_t processId = 0;
        QCOMPARE(
            program->system.StartProcess("explorer.exe " + address.toStdString(), 2, processId),
            StatusOk);
        QVERIFY(processId != 0);
        // The fake opener's record: one count line, then the arguments.
        QTRY_COMPARE(program->opener.Log(), QStringList({"1", address}));
        QVERIFY(!QFile::exists("pwned"));
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::AboutWindowTest)
#include "AboutWindowTest.moc"
