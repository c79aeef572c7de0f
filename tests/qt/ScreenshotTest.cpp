#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "QtProgram.h"
#include "app/Window.h"

namespace avo::testing {

// Writes pictures of both windows and of the caption's animation into the build tree, for
// a person to look at (screenshots/*.png).
class ScreenshotTest : public QtProgramTest {
    Q_OBJECT
private:
    static void Save(QWidget* widget, const QString& name) {
        const QString path = QDir(AVO_SCREENSHOT_DIR).filePath(name + ".png");
        QVERIFY2(widget->grab().save(path), qPrintable(path));
    }

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(AVO_SCREENSHOT_DIR)); }

    void MainWindowShowingACommand() {
        auto* list = ControlOf<QListWidget>("Form1", "List1");
        list->item(21)->setSelected(true);  // the longest description
        QTest::mouseClick(ControlOf<QWidget>("Form1", "Command1"), Qt::LeftButton);
        Save(LoadedForm("Form1"), "main-window");
    }

    void AboutWindowAndCaptionFrames() {
        QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton);
        Window& about = *program->shell.Instance(WindowName::Text);
        // The timers stay off so that each frame shows exactly the size it was given.
        about.Control("Timer1").SetEnabled(false);
        about.Control("Timer2").SetEnabled(false);
        Save(LoadedForm("Text"), "about-window");
        for (int points : {2, 8, 14, 20}) {
            about.Control("Label1").SetFontSize(
                PointSize::FromTenThousandths(points * 10000 + 2500));
            Save(LoadedForm("Text"), QString("caption-%1pt").arg(points));
        }
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::ScreenshotTest)
#include "ScreenshotTest.moc"
