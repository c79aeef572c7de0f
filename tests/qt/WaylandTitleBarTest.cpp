#include <QAccessible>
#include <QAccessibleWidget>
#include <QListWidget>
#include <QPointer>
#include <QTest>

#include "QtProgram.h"
#include "platform/qt/WaylandTitleBar.h"

namespace avo::testing {

using qt::WaylandTitleBar;
using Part = WaylandTitleBar::Part;

// The program's own title bar, put on the real main window as a Wayland compositor that leaves
// title bars to its clients would have it.
class WaylandTitleBarTest : public QObject {
    Q_OBJECT
private:
    QWidget* Form() { return LoadedForm("Form1"); }
    QPoint Centre(Part box) { return bar->BoxRect(box).center(); }

    // Shown again as the program first shows it: its activation hands the keyboard focus to
    // the control that had it. The offscreen platform does not take the window out of focus
    // while it is hidden, so another window takes the focus in between.
    void ShowAfresh() {
        {
            QWidget other;
            other.show();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        Form()->show();
        Form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form()));
    }

    // Qt's own view of a widget, for comparison, owned here rather than by Qt's cache.
    struct QtsOwnAccessible final : QAccessibleWidget {
        explicit QtsOwnAccessible(QWidget* widget)
            : QAccessibleWidget(widget, QAccessible::Window) {}
        ~QtsOwnAccessible() override = default;
    };

    // What a screen reader finds in the window: its children's objects, in order.
    static QObjectList AccessibleChildren(const QAccessibleInterface& window) {
        QObjectList children;
        for (int i = 0; i < window.childCount(); ++i) {
            children << window.child(i)->object();
            if (window.indexOfChild(window.child(i)) != i) children << nullptr;  // a broken index
        }
        return children;
    }

    std::unique_ptr<QtProgram> program;
    QPointer<WaylandTitleBar> bar;
    QImage clientAreaBefore;
    QObjectList accessibleBefore;

private slots:
    void init() {
        program = std::make_unique<QtProgram>();
        QVERIFY(QTest::qWaitForWindowActive(Form()));
        clientAreaBefore = Form()->grab().toImage();
        // As Qt lists a widget's children, before the bar is there.
        accessibleBefore = AccessibleChildren(QtsOwnAccessible(Form()));
        bar = WaylandTitleBar::AttachTo(*Form());  // hides the window: it goes frameless
        ShowAfresh();
    }
    void cleanup() {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!bar);  // it dies with its window
    }

    // Screenshots of the client area stay what they were: the bar only adds its height above.
    void ClientAreaMovesDownUnchanged() {
        QWidget* form = Form();
        const int height = bar->height();
        QVERIFY2(height >= 20 && height <= 48, qPrintable(QString::number(height)));
        QCOMPARE(form->size(), clientAreaBefore.size() + QSize(0, height));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(bar->geometry(), QRect(0, 0, form->width(), height));
        QCOMPARE(ControlOf<QWidget>("Form1", "List1")->geometry(),
                 QRect(56, 200 + height, 121, 212));
        const QImage clientArea =
            form->grab(QRect(0, height, form->width(), form->height() - height)).toImage();
        QCOMPARE(clientArea.convertToFormat(clientAreaBefore.format()), clientAreaBefore);
    }

    // Screen readers find the same controls in the same order; the bar is left out, as a
    // window manager's title bar is.
    void AccessibleTreeKeepsOnlyTheControls() {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(Form());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(AccessibleChildren(*window), accessibleBefore);
        QVERIFY(!accessibleBefore.contains(bar.data()));
        QCOMPARE(window->indexOfChild(QAccessible::queryAccessibleInterface(bar)), -1);
    }

    // The window goes frameless, so that Qt draws no title bar of its own beside this one.
    void WindowIsFramelessAndKeepsItsFocus() {
        QVERIFY(Form()->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(bar->focusPolicy(), Qt::NoFocus);
        QCOMPARE(QApplication::focusWidget(), ControlOf<QWidget>("Form1", "List1"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, {10, bar->height() / 2});  // the caption
        QCOMPARE(QApplication::focusWidget(), ControlOf<QWidget>("Form1", "List1"));
    }

    // Across the bar from left to right: caption, then the minimise box, then the close box at
    // the right edge, and nothing else: no maximise box.
    void OffersMinimiseAndCloseOnly() {
        std::vector<Part> seen;
        for (int x = 0; x < bar->width(); ++x) {
            const Part part = bar->PartAt({x, bar->height() / 2});
            if (seen.empty() || seen.back() != part) seen.push_back(part);
        }
        QCOMPARE(seen, (std::vector<Part>{Part::Caption, Part::MinimiseBox, Part::CloseBox}));
        QCOMPARE(bar->BoxRect(Part::CloseBox).right(), bar->width() - 1);
        QCOMPARE(bar->PartAt({bar->width() - 1, bar->height()}), Part::None);  // below it
    }

    // The minimise box minimises; the close box is the compositor's close command: the program
    // ends, as it does when the only window is closed.
    void MinimiseBoxMinimisesAndCloseBoxEndsTheProgram() {
        QTest::mouseClick(bar, Qt::LeftButton, {}, Centre(Part::MinimiseBox));
        QVERIFY(Form()->isMinimized());
        QVERIFY(program->shell.IsRunning());
        QPointer<QWidget> form = Form();
        QTest::mouseClick(bar, Qt::LeftButton, {}, Centre(Part::CloseBox));
        QVERIFY(!program->shell.IsRunning());
        QVERIFY(form && !form->isVisible());
        program->system.RunEventLoop();  // returns at once: the program has ended
    }

    // A press taken off its box before the button comes up does nothing, as with a button.
    void PressMovedOffTheBoxDoesNothing() {
        for (const Part box : {Part::CloseBox, Part::MinimiseBox}) {
            QTest::mousePress(bar, Qt::LeftButton, {}, Centre(box));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, {10, bar->height() / 2});
            QVERIFY(program->shell.IsRunning());
            QVERIFY(Form()->isVisible() && !Form()->isMinimized());
        }
    }

    // The caption is the window's, drawn in the desktop's colours, which tell an active window
    // from an inactive one.
    void ShowsWhetherItsWindowIsActive() {
        const QImage active = bar->grab().toImage();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const QImage inactive = bar->grab().toImage();
        QVERIFY(inactive.pixelColor(bar->width() / 2, 1) != active.pixelColor(bar->width() / 2, 1));
        QDir().mkpath(AVO_SCREENSHOT_DIR);
        active.save(AVO_SCREENSHOT_DIR "/titlebar-active.png");
        inactive.save(AVO_SCREENSHOT_DIR "/titlebar-inactive.png");
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::WaylandTitleBarTest)
#include "WaylandTitleBarTest.moc"
