#include <QApplication>
#include <QFile>
#include <QTest>

#include "QtProgram.h"

// Hours of use compressed: the About window's caption driven through 100,000 ticks as fast
// as the handlers run, and 100 openings and closings of the About window, on the real Qt
// backend. Memory and the number of live windows must stay flat.

namespace avo::testing {

namespace {

long ResidentKiB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;  // the sanitizer's quarantine grows on purpose
#else
constexpr bool kMemoryIsMeasurable = true;
#endif
constexpr long kAllowedGrowthKiB = 1024;

}  // namespace

class SoakTest : public QtProgramTest {
    Q_OBJECT
private:
    Window& About() { return *program->shell.Instance(WindowName::Text); }
    void OpenAbout() { program->shell.ShowModeless(About()); }

    // One tick of whichever caption timer runs, delivered as the window system does.
    void Tick() {
        Window& about = About();
        const char* running = about.Control("Timer1").Enabled() ? "Timer1" : "Timer2";
        program->shell.Dispatch(about, about.Class().IndexOf(running), Event::Timer);
    }

private slots:
    void CaptionThroughOneHundredThousandTicks() {
        OpenAbout();
        for (int i = 0; i < 2'000; ++i) Tick();
        Settle();
        const long before = ResidentKiB();
        for (int i = 0; i < 100'000; ++i) {
            Tick();
            if (i % 250 == 0) Settle();  // let the label repaint now and then
        }
        Settle();
        const long after = ResidentKiB();
        qInfo("caption soak: 100000 ticks, VmRSS %ld KiB before, %ld KiB after", before, after);
        QVERIFY(program->diagnostics.str().empty());
        const PointSize size = About().Control("Label1").FontSize();
        QVERIFY(size >= PointSize::FromTenThousandths(12500) && size <= PointSize::Whole(21));
        if (kMemoryIsMeasurable) QVERIFY2(after - before < kAllowedGrowthKiB, "memory grew");
    }

    void OneHundredOpeningsAndClosings() {
        auto openAndClose = [&] {
            OpenAbout();
            for (int i = 0; i < 40; ++i) Tick();
            QTest::mouseClick(ControlOf<QWidget>("Text", "Picture1"), Qt::LeftButton);
            Settle();
        };
        for (int i = 0; i < 10; ++i) openAndClose();
        const long before = ResidentKiB();
        const qsizetype windows = QApplication::topLevelWidgets().size();
        for (int i = 0; i < 100; ++i) openAndClose();
        const long after = ResidentKiB();
        qInfo("About soak: 100 openings, VmRSS %ld KiB before, %ld KiB after", before, after);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        // The opener runs detached: the last one may still be starting when the loop ends.
        QTRY_COMPARE_WITH_TIMEOUT(program->opener.Log().count("http://www.kavrelonix.example"), 110,
                                  10000);
        if (kMemoryIsMeasurable) QVERIFY2(after - before < kAllowedGrowthKiB, "memory grew");
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::SoakTest)
#include "SoakTest.moc"
