#include "ConformanceDriver.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QProcess>
#include <QRawFont>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "platform/qt/FormWidget.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/qt/QtProgram.h"

namespace avo::conformance {
namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

PixelRect ToPixelRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

Qt::Key QtKeyOf(Key key) {
    switch (key) {
        case Key::Tab: return Qt::Key_Tab;
        case Key::ShiftTab: return Qt::Key_Backtab;
        case Key::Space: return Qt::Key_Space;
        case Key::Enter: return Qt::Key_Return;
        case Key::Escape: return Qt::Key_Escape;
    }
    return Qt::Key_unknown;
}

// The windows on the X display from bottom to top, as the window manager stacks them; empty
// where no window manager keeps the list.
std::vector<WId> StackingOrder() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    if (!xprop.waitForFinished(5000)) return {};
    const QString reply = QString::fromUtf8(xprop.readAllStandardOutput());
    const qsizetype hash = reply.indexOf(QLatin1Char('#'));
    if (hash < 0) return {};
    std::vector<WId> order;
    for (const QString& id : reply.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        order.push_back(id.trimmed().toULongLong(nullptr, 16));
    }
    return order;
}

// Real Qt widgets on the test display, driven with QTest's mouse events.
class QtDriver final : public Driver {
public:
    QtDriver() {
        other_.setWindowTitle(QStringLiteral("another program"));
        other_.resize(900, 700);
    }

    WindowSystem& System() override { return system_; }

    void Flush() override {
        QCoreApplication::processEvents();
        // Unloaded windows are freed by the event loop; between events is a safe time.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Pump() override {
        // Window-manager replies (mapping, stacking, activation) come back asynchronously.
        QTest::qWait(60);
    }
    void Wait(std::chrono::milliseconds time) override {
        QTest::qWait(static_cast<int>(time.count()));
    }

    void Click(const std::string& window, const std::string& control) override {
        QWidget* widget = Widget(window, control);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        Flush();
    }
    void PressDragOffRelease(const std::string& window, const std::string& control) override {
        QWidget* widget = Widget(window, control);
        const QPoint outside(widget->width() + 20, widget->height() + 20);
        QTest::mousePress(widget, Qt::LeftButton, {}, widget->rect().center());
        QTest::mouseMove(widget, outside);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, outside);
        Flush();
    }
    void CloseCommand(const std::string& window) override {
        Form(window)->close();
        Flush();
    }
    void ClickRow(const std::string& window, const std::string& control, int row) override {
        auto* list = qobject_cast<QListWidget*>(Widget(window, control));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        Flush();
    }
    // The waits below end early once the window manager has answered; the cases check the
    // outcome themselves.
    void Minimise(const std::string& window) override {
        Form(window)->showMinimized();
        (void)QTest::qWaitFor([&] { return Form(window)->isMinimized(); }, 2000);
    }
    void Move(const std::string& window, int left, int top) override {
        Form(window)->move(left, top);
        (void)QTest::qWaitFor(
            [&] { return Form(window)->frameGeometry().topLeft() == QPoint(left, top); }, 2000);
    }
    void CoverWithOtherProgram() override {
        other_.show();
        other_.raise();
        other_.activateWindow();
        (void)QTest::qWaitFor([&] { return FrontWindow() == "other"; }, 2000);
    }

    void PressKey(const std::string& window, Key key) override {
        QWidget* focus = Form(window)->focusWidget();
        QTest::keyClick(focus ? focus : Form(window), QtKeyOf(key),
                        key == Key::ShiftTab ? Qt::ShiftModifier : Qt::NoModifier);
        Flush();
    }

    bool IsShown(const std::string& window) override {
        const qt::FormWidget* form = Form(window);
        return form && form->isVisible() && !form->isMinimized();
    }
    std::string FrontWindow() override {
        const std::vector<WId> order = StackingOrder();
        for (auto id = order.rbegin(); id != order.rend(); ++id) {
            if (const std::string name = NameOf(*id); !name.empty()) return name;
        }
        // Without a window manager the active window stands for the front one.
        QWidget* active = QApplication::activeWindow();
        if (active == &other_) return "other";
        return active ? active->objectName().toStdString() : std::string();
    }
    std::string FocusedControl(const std::string& window) override {
        QWidget* focus = Form(window)->focusWidget();
        return focus ? focus->objectName().toStdString() : std::string();
    }
    PixelRect Frame(const std::string& window) override {
        return ToPixelRect(Form(window)->frameGeometry());
    }
    PixelRect WorkArea() override {
        return ToPixelRect(QGuiApplication::primaryScreen()->availableGeometry());
    }

    std::optional<Picture> Capture(const std::string& window, const std::string& control) override {
        const QImage image =
            Widget(window, control)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        Picture picture{image.width(), image.height(), {}};
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                picture.Pixels.push_back(image.pixel(x, y) & 0xFFFFFFu);
        }
        return picture;
    }
    std::optional<bool> HasGlyphs(const std::string& window, const std::string& control,
                                  const std::string& text) override {
        QWidget* widget = Widget(window, control);
        if (!widget) return true;  // a timer draws nothing
        // The face that the font resolves to, without the fallbacks: every character must
        // come from it, or rows and boxes mix faces.
        const QRawFont face = QRawFont::fromFont(widget->font());
        for (const char32_t character : ToQ(text).toUcs4()) {
            if (!face.supportsCharacter(character)) return false;
        }
        return true;
    }
    std::optional<std::pair<int, int>> RowWidth(const std::string& window,
                                                const std::string& control, int row) override {
        auto* list = qobject_cast<QListWidget*>(Widget(window, control));
        const int margin =
            list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        const int text = QFontMetrics(list->font()).horizontalAdvance(list->item(row)->text());
        return std::make_pair(text + 2 * margin, list->viewport()->width());
    }
    bool PressAsScreenReader(const std::string& window, const std::string& control) override {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(Widget(window, control));
        QAccessibleActionInterface* actions = accessible ? accessible->actionInterface() : nullptr;
        if (!actions) return false;
        const QString press = QAccessibleActionInterface::pressAction();
        if (!actions->actionNames().contains(press)) return false;
        actions->doAction(press);
        Flush();
        return true;
    }
    std::optional<std::string> AccessibleText(const std::string& window,
                                              const std::string& control) override {
        // What a screen reader gets through the Text interface; nothing when there is none.
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(Widget(window, control));
        QAccessibleTextInterface* text = accessible ? accessible->textInterface() : nullptr;
        return text ? text->text(0, text->characterCount()).toStdString() : std::string();
    }
    std::optional<std::string> AccessibleName(const std::string& window,
                                              const std::string& control) override {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(Widget(window, control));
        if (!accessible) return std::nullopt;
        return accessible->text(QAccessible::Name).toStdString();
    }

    bool RunLoopWith(const std::function<void()>& action,
                     const std::function<void()>& loop) override {
        QTimer start;
        start.setSingleShot(true);
        start.callOnTimeout(action);
        start.start(0);
        bool stopped = false;
        QTimer watchdog;
        watchdog.callOnTimeout([&] {
            stopped = true;
            system_.Quit();
        });
        watchdog.start(10000);
        loop();
        return !stopped;
    }
    int NativeWindows() override {
        Flush();
        // Every top-level widget but the other program's is one of ours.
        return static_cast<int>(QApplication::topLevelWidgets().size()) - 1;
    }
    std::optional<std::vector<std::pair<std::string, std::string>>> ToolTips(
        const std::string& window) override {
        std::vector<std::pair<std::string, std::string>> tips;
        for (const QWidget* control : Form(window)->findChildren<QWidget*>()) {
            if (!control->toolTip().isEmpty()) {
                tips.emplace_back(control->objectName().toStdString(),
                                  control->toolTip().toStdString());
            }
        }
        return tips;
    }

private:
    qt::FormWidget* Form(const std::string& window) const {
        return testing::LoadedForm(ToQ(window));
    }
    QWidget* Widget(const std::string& window, const std::string& control) const {
        return testing::ControlOf<QWidget>(ToQ(window), ToQ(control));
    }
    std::string NameOf(WId id) const {
        if (other_.isVisible() && other_.winId() == id) return "other";
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = dynamic_cast<qt::FormWidget*>(widget);
            if (form && form->IsAttached() && form->isVisible() && form->winId() == id) {
                return form->objectName().toStdString();
            }
        }
        return {};
    }

    qt::QtWindowSystem system_;
    QWidget other_;
};

QApplication& Application() {
    static int argc = 1;
    static char name[] = "conformance_qt";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

}  // namespace

const Backend& BackendUnderTest() {
    static const Backend qt{"Qt", [] {
                                Application();
                                return std::make_unique<QtDriver>();
                            }};
    return qt;
}

}  // namespace avo::conformance
