#include "platform/qt/AccessibleControls.h"

#include <QAccessibleWidget>
#include <QTextLayout>

#include <algorithm>

#include "platform/qt/ControlWidgets.h"
#include "platform/qt/FormWidget.h"
#include "platform/qt/WaylandTitleBar.h"

namespace avo::qt {
namespace {

// The lines a label's text wraps into inside its box, as the label draws them, in the
// label's own coordinates.
class ShownLines {
public:
    explicit ShownLines(const QLabel& label)
        : area_(label.contentsRect()), layout_(label.text(), label.font()) {
        QTextOption option(label.alignment() & Qt::AlignHorizontal_Mask);
        option.setWrapMode(QTextOption::WordWrap);
        layout_.setTextOption(option);
        layout_.beginLayout();
        qreal top = 0;
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(area_.width());
            line.setPosition({0, top});
            top += line.height();
        }
        layout_.endLayout();
    }

    QRect CharacterRect(int offset) const {
        const QTextLine line = layout_.lineForTextPosition(offset);
        if (!line.isValid()) return {};
        const qreal left = line.cursorToX(offset);
        const qreal right = line.cursorToX(offset + 1);
        return QRectF(area_.left() + left, area_.top() + line.y(), std::max<qreal>(1, right - left),
                      line.height())
            .toAlignedRect();
    }

    int OffsetAt(QPoint point) const {
        for (int i = 0; i < layout_.lineCount(); ++i) {
            const QTextLine line = layout_.lineAt(i);
            const qreal y = point.y() - area_.top() - line.y();
            if (y >= 0 && y < line.height()) return line.xToCursor(point.x() - area_.left());
        }
        return -1;
    }

private:
    QRect area_;
    QTextLayout layout_;
};

// A label as screen readers see it: named by its heading (or its own words), its shown text
// readable through the text interface, exactly as shown, blanks included; a heading is the
// label of the box it names.
class AccessibleLabel final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleLabel(PlainTextLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto related = QAccessibleWidget::relations(match);  // the headings that name this box
        if (QWidget* named = Label().buddy(); named && (match & QAccessible::Labelled)) {
            related.append({QAccessible::queryAccessibleInterface(named), QAccessible::Labelled});
        }
        return related;
    }

    QString text(int start, int end) const override {
        return Label().text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Label().text().size()); }
    QRect characterRect(int offset) const override {
        const QRect local = ShownLines(Label()).CharacterRect(offset);
        return local.isNull() ? QRect() : QRect(Label().mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return ShownLines(Label()).OffsetAt(Label().mapFromGlobal(point));
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Nothing to select, no cursor and nothing to scroll: the text is only shown.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}

private:
    const QLabel& Label() const { return *static_cast<const QLabel*>(widget()); }
};

// A picture box that clicks: a push button whose press action clicks it.
class AccessiblePictureBox final : public QAccessibleWidget {
public:
    explicit AccessiblePictureBox(PictureBox* box) : QAccessibleWidget(box, QAccessible::Button) {}

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) return QAccessibleWidget::doAction(action);
        if (widget()->isEnabled()) static_cast<PictureBox*>(widget())->Click();
    }
};

// A loaded window is a frame with a title, not a filler. Its children are its controls, in
// the order Qt gives them; a title bar of the program's own is left out, as a window
// manager's is.
class AccessibleForm final : public QAccessibleWidget {
public:
    explicit AccessibleForm(FormWidget* form) : QAccessibleWidget(form, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(Controls().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> controls = Controls();
        if (index < 0 || index >= controls.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(controls[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        return static_cast<int>(Controls().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> Controls() const {
        QList<QWidget*> controls;
        for (QObject* object : widget()->children()) {
            auto* control = qobject_cast<QWidget*>(object);
            if (control && !control->isWindow() && !qobject_cast<WaylandTitleBar*>(control))
                controls << control;
        }
        return controls;
    }
};

QAccessibleInterface* CreateAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(PlainTextLabel::staticMetaObject.className())) {
        if (auto* label = qobject_cast<PlainTextLabel*>(object)) return new AccessibleLabel(label);
    }
    if (className == QLatin1String(PictureBox::staticMetaObject.className())) {
        if (auto* box = qobject_cast<PictureBox*>(object)) return new AccessiblePictureBox(box);
    }
    if (className == QLatin1String(FormWidget::staticMetaObject.className())) {
        if (auto* form = qobject_cast<FormWidget*>(object)) return new AccessibleForm(form);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(CreateAccessible), true);
    (void)installed;
}

}  // namespace avo::qt
