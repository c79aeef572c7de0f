#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QtProgram.h"
#include "about/Text.h"

namespace avo::testing {
namespace {

// Notes every size the caption's font takes, as the timers change it.
class FontSizeRecorder final : public QObject {
public:
    explicit FontSizeRecorder(QWidget* label) : label_(label) { label->installEventFilter(this); }
    QList<double> sizes;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::FontChange) {
            sizes << label_->font().pointSizeF();
        }
        return false;
    }

private:
    QWidget* label_;
};

}  // namespace

// The About window opened, animated and closed by the real program on the Qt backend.
class AboutWindowTest : public QObject {
    Q_OBJECT
private:
    QWidget* About() { return LoadedForm("Text"); }
    QWidget* Main() { return LoadedForm("Form1"); }
    void OpenAbout() { QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton); }
    // The fake opener's record: one count line, then the arguments, per start.
    static QStringList OneStart(const QString& argument) { return {"1", argument}; }

    std::unique_ptr<FakeOpener> opener;
    std::unique_ptr<QtProgram> program;

private slots:
    void init() {
        opener = std::make_unique<FakeOpener>();
        program = std::make_unique<QtProgram>();
    }
    void cleanup() {
        program.reset();
        opener.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void AboutWindowLooksAsDrawn() {
        OpenAbout();
        QWidget* about = About();
        QVERIFY(about->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(about->size(), QSize(560, 349));
        QVERIFY(about->windowIcon().isNull());
        const struct {
            const char* name;
            QRect bounds;
            const char* text;
        } controls[] = {
            {"Picture1", {528, 320, 17, 17}, nullptr},
            {"Label1", {160, 144, 289, 73}, "Kavrelonix"},
            {"Label2",
             {168, 272, 265, 17},
             "Tolvren Asukay tarafından Kavrelonix için yazılmıştır"},
            {"Label3", {216, 304, 161, 17}, "tolvren@kavrelonix.example"},
        };
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

    // The windows' lives are the conformance suite's Lifecycle cases.
    void CaptionPulsatesOnTheRealTimers() {
        OpenAbout();
        auto* caption = ControlOf<QLabel>("Text", "Label1");
        const QRect box = caption->geometry();
        QCOMPARE(caption->font().pointSizeF(), 2.25);
        QCOMPARE(ControlOf<QTimer>("Text", "Timer1")->timerType(), Qt::PreciseTimer);
        FontSizeRecorder recorder(caption);
        // Shrinking first, it hands over to growing at once, grows past 20 points and hands
        // back: 1.25, 2.25 ... 20.25, 19.25. Twenty-one ticks of 30 ms, given ample time.
        QList<double> expected;
        for (int i = 0; i <= 19; ++i) expected << 1.25 + i;
        expected << 19.25;
        QTRY_VERIFY_WITH_TIMEOUT(recorder.sizes.size() >= expected.size(), 15000);
        QCOMPARE(recorder.sizes.mid(0, expected.size()), expected);
        QCOMPARE(caption->geometry(), box);
        QVERIFY(caption->alignment() & Qt::AlignHCenter);
    }

    void MissingBrowserStillOpensTheWindow() {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", empty.path().toUtf8());
        OpenAbout();
        qputenv("PATH", path);
        QVERIFY(About() && About()->isVisible());
        QVERIFY(program->diagnostics.str().find("StartProcess") != std::string::npos);
    }

    void StartedProgramGetsTheAddressAsOneArgument() {
        const QString address = "http://a.example/?q=1;touch pwned $(id) `id` 'x' \"y\" | z &";
        std::uint32_t processId = 0;
        QCOMPARE(
            program->system.StartProcess("explorer.exe " + address.toStdString(), 2, processId),
            StatusOk);
        QVERIFY(processId != 0);
        QTRY_COMPARE(opener->Log(), OneStart(address));
        QVERIFY(!QFile::exists("pwned"));
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::AboutWindowTest)
#include "AboutWindowTest.moc"
