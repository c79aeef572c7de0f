#include "platform/qt/ControlWidgets.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace avo::qt {
namespace {

// Static controls click as buttons do: the left button goes down and comes up over them.
void AcceptPress(QMouseEvent* event) { event->setAccepted(event->button() == Qt::LeftButton); }

bool IsClickRelease(const QWidget& widget, QMouseEvent* event) {
    return event->button() == Qt::LeftButton && widget.rect().contains(event->position().toPoint());
}

}  // namespace

PlainTextLabel::PlainTextLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setText(text);
}

void PlainTextLabel::ReplaceText(const QString& newText) {
    const QString oldText = text();
    setText(newText);
    // An output box is named by its heading; its text is also its description.
    if (accessibleName() != newText) setAccessibleDescription(newText);
    if (oldText != newText) {
        QAccessibleTextUpdateEvent update(this, 0, oldText, newText);
        QAccessible::updateAccessibility(&update);
    }
}

void PlainTextLabel::SetSingleBorder(const QColor& colour) {
    border_ = colour;
    setContentsMargins(1, 1, 1, 1);
    update();
}

void PlainTextLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!border_.isValid()) return;
    // Four filled edges cover the one-pixel margin exactly at any scale.
    QPainter painter(this);
    const int w = width(), h = height();
    for (const QRect edge : {QRect(0, 0, w, 1), QRect(0, h - 1, w, 1), QRect(0, 0, 1, h), QRect(w - 1, 0, 1, h)}) {
        painter.fillRect(edge, border_);
    }
}

void PlainTextLabel::mousePressEvent(QMouseEvent* event) { AcceptPress(event); }

void PlainTextLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (IsClickRelease(*this, event)) emit clicked();
}

PictureBox::PictureBox(ScaledPicture picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture());
}

void PictureBox::mousePressEvent(QMouseEvent* event) { AcceptPress(event); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (IsClickRelease(*this, event)) emit clicked();
}

}  // namespace avo::qt
