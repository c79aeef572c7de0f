#include "platform/qt/ControlWidgets.h"

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
    painter.setRenderHint(QPainter::SmoothPixmapTransform);  // above 200 %
    painter.drawPixmap(0, 0, Picture());
}

void PictureBox::mousePressEvent(QMouseEvent* event) { AcceptPress(event); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (IsClickRelease(*this, event)) emit clicked();
}

}  // namespace avo::qt
