#include "platform/qt/WaylandTitleBar.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace avo::qt {
namespace {

constexpr int kMinimumHeight = 24;
constexpr int kPadding = 6;  // above and below the caption, and left of the icon

// The desktop's title font, bold, as window managers draw captions; not the window's own
// font, which its client area sets for itself.
QFont TitleFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return font;
}

int BarHeight() {
    return std::max(kMinimumHeight, QFontMetrics(TitleFont()).height() + 2 * kPadding);
}

// The desktop's palette, not the window's: its client area has colours of its own.
QPalette DesktopPalette() { return QGuiApplication::palette(); }

// Part of the way from one colour to another.
QColor Mixed(const QColor& from, const QColor& to, float part) {
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * part,
                            from.greenF() + (to.greenF() - from.greenF()) * part,
                            from.blueF() + (to.blueF() - from.blueF()) * part);
}

}  // namespace

WaylandTitleBar* WaylandTitleBar::AttachTo(QWidget& window) {
    const QList<QWidget*> clientArea = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // Only the window's type is kept: Qt takes a frameless hint beside the hints that ask for
    // a minimise box as a mistake, and drops it.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    auto* bar = new WaylandTitleBar(window);
    const int height = bar->height();
    for (QWidget* child : clientArea) child->move(child->pos() + QPoint(0, height));
    window.setContentsMargins(0, height, 0, 0);
    window.setFixedSize(window.width(), window.height() + height);
    bar->setFixedWidth(window.width());
    return bar;
}

WaylandTitleBar::WaylandTitleBar(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("TitleBar"));
    setFixedHeight(BarHeight());
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    window.installEventFilter(this);
}

// Boxes as wide as the bar is high, the close box rightmost, as most desktops have them.
QRect WaylandTitleBar::BoxRect(Part box) const {
    const int side = height();
    switch (box) {
        case Part::CloseBox: return {width() - side, 0, side, side};
        case Part::MinimiseBox: return {width() - 2 * side, 0, side, side};
        case Part::None:
        case Part::Caption: break;
    }
    return {};
}

WaylandTitleBar::Part WaylandTitleBar::PartAt(QPoint position) const {
    if (!rect().contains(position)) return Part::None;
    for (Part box : {Part::CloseBox, Part::MinimiseBox}) {
        if (BoxRect(box).contains(position)) return box;
    }
    return Part::Caption;
}

bool WaylandTitleBar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange: update(); break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

// Active: the desktop's highlight, as a selected item has it; inactive: the desktop's window
// colour a shade darker, with its text greyed, still readable.
void WaylandTitleBar::paintEvent(QPaintEvent*) {
    const QPalette palette = DesktopPalette();
    QColor background = palette.color(QPalette::Active, QPalette::Highlight);
    QColor text = palette.color(QPalette::Active, QPalette::HighlightedText);
    if (!window()->isActiveWindow()) {
        background = palette.color(QPalette::Inactive, QPalette::Window).darker(112);
        text = Mixed(palette.color(QPalette::Inactive, QPalette::WindowText), background, 0.45f);
    }
    QPainter painter(this);
    painter.fillRect(rect(), background);
    PaintCaption(painter, text);
    PaintBox(painter, Part::MinimiseBox, background, text);
    PaintBox(painter, Part::CloseBox, background, text);
}

void WaylandTitleBar::PaintCaption(QPainter& painter, const QColor& text) const {
    int left = kPadding;
    const QIcon icon = window()->windowIcon();
    if (!icon.isNull()) {
        const int side = std::min(16, height() - 2 * kPadding);
        icon.paint(&painter, QRect(left, (height() - side) / 2, side, side));
        left += side + kPadding;
    }
    const QRect area(left, 0, BoxRect(Part::MinimiseBox).left() - left - kPadding, height());
    painter.setFont(TitleFont());
    painter.setPen(text);
    const QString caption =
        painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, area.width());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
}

// A flat box with a thin glyph, shaded while the pointer is over it and darker while pressed.
void WaylandTitleBar::PaintBox(QPainter& painter, Part box, const QColor& background,
                               const QColor& text) const {
    const QRect area = BoxRect(box);
    if (pressed_ == box) {
        painter.fillRect(area, background.darker(130));
    } else if (hovered_ == box) {
        painter.fillRect(area, background.lighter(125));
    }
    const int glyph = std::max(6, height() / 3) & ~1;
    const QRect mark(area.center().x() - glyph / 2 + 1, area.center().y() - glyph / 2 + 1, glyph,
                     glyph);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, box == Part::CloseBox);
    painter.setPen(QPen(text, 1.5, Qt::SolidLine, Qt::FlatCap));
    if (box == Part::CloseBox) {
        painter.drawLine(mark.topLeft(), mark.bottomRight() + QPoint(1, 1));
        painter.drawLine(mark.bottomLeft() + QPoint(0, 1), mark.topRight() + QPoint(1, 0));
    } else {
        painter.fillRect(QRect(mark.left(), mark.bottom(), glyph, 2), text);
    }
    painter.restore();
}

void WaylandTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const Part part = PartAt(event->position().toPoint());
    if (part == Part::Caption) {
        // The compositor moves the window; a Wayland client cannot place it itself.
        if (QWindow* native = window()->windowHandle()) native->startSystemMove();
        return;
    }
    pressed_ = part;
    update();
}

void WaylandTitleBar::mouseMoveEvent(QMouseEvent* event) {
    SetHovered(PartAt(event->position().toPoint()));
}

// A box acts when the button comes up over the box it went down on, as a button does.
void WaylandTitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const Part pressed = std::exchange(pressed_, Part::None);
    update();
    if (pressed != Part::None && PartAt(event->position().toPoint()) == pressed) Activate(pressed);
}

void WaylandTitleBar::leaveEvent(QEvent*) { SetHovered(Part::None); }

void WaylandTitleBar::SetHovered(Part part) {
    if (part == hovered_) return;
    hovered_ = part;
    update();
}

// The close box asks the window to close, which is what the compositor's close command does:
// the window hands it to the program. The program may unload the window in the call; the bar
// is freed with it later, never from inside this call.
void WaylandTitleBar::Activate(Part box) {
    if (box == Part::CloseBox) {
        window()->close();
    } else if (box == Part::MinimiseBox) {
        window()->showMinimized();
    }
}

}  // namespace avo::qt
