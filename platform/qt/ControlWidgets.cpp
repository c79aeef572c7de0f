#include "platform/qt/ControlWidgets.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QtMath>

#include <optional>

#include "platform/Keyboard.h"
#include "platform/WindowDefaults.h"

namespace avo::qt {
namespace {

// Static controls click as buttons do: the left button goes down and comes up over them.
void AcceptPress(QMouseEvent* event) { event->setAccepted(event->button() == Qt::LeftButton); }

bool IsClickRelease(const QWidget& widget, QMouseEvent* event) {
    return event->button() == Qt::LeftButton && widget.rect().contains(event->position().toPoint());
}

// What QLabel's own drawing does differently from LaidOutText's when a text holds them:
// tabs, carriage returns and length variants.
bool HoldsSpecialCharacters(const QString& text) {
    return text.contains(u'\t') || text.contains(u'\r') || text.contains(QChar(0x9c));
}

std::optional<Key> KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Escape: return Key::Escape;
        default: return std::nullopt;
    }
}

}  // namespace

bool LaidOutText::Serves(const QLabel& label) {
    const QString text = label.text();
    const QFont font = label.font();
    const Qt::Alignment horizontal = label.alignment() & Qt::AlignHorizontal_Mask;
    const Qt::TextInteractionFlags selectable =
        Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    return label.isEnabled() && label.textFormat() == Qt::PlainText && label.wordWrap() &&
           label.frameWidth() == 0 && label.margin() == 0 && label.indent() <= 0 &&
           !(label.textInteractionFlags() & selectable) &&
           (horizontal == Qt::AlignLeft || horizontal == Qt::AlignHCenter) &&
           !text.isRightToLeft() && !HoldsSpecialCharacters(text) &&
           !(label.buddy() && text.contains(u'&')) && !font.underline() && !font.strikeOut() &&
           !font.overline() && !label.style()->inherits("QStyleSheetStyle");
}

// Line by line as QPainter::drawText lays out a label's box: each line as wide as the box,
// its top on a whole pixel, and no line begun below the box's bottom.
LaidOutText::Lines LaidOutText::LayOut(const QLabel& label, const QString& text, const QRect& box) {
    Lines lines{label.font()};
    if (text.isEmpty()) return lines;  // an empty label draws nothing
    QString shown = text;
    shown.replace(u'\n', QChar::LineSeparator);
    lines.Layout = std::make_unique<QTextLayout>(shown, lines.Font, &label);
    QTextLayout& layout = *lines.Layout;
    QTextOption option(Qt::AlignLeft);  // each line is placed in the box by Draw
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const qreal leading = QFontMetricsF(lines.Font, &label).leading();
    qreal height = -leading;
    qreal width = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax<qreal>(0, box.width()));
        height = qCeil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        width = qMax(width, line.naturalTextWidth());
        if (height >= box.height()) break;
    }
    layout.endLayout();
    lines.Extent = QSizeF(width, height);
    return lines;
}

const LaidOutText::Lines& LaidOutText::For(const QLabel& label) {
    const QRect box = label.contentsRect();
    if (text_ != label.text() || box_ != box || dpi_ != label.logicalDpiY()) {
        text_ = label.text();
        box_ = box;
        dpi_ = label.logicalDpiY();
        kept_.clear();
    }
    const QFont font = label.font();
    for (const Lines& lines : kept_) {
        if (lines.Font == font) return lines;
    }
    if (kept_.size() == kFontsKept) kept_.erase(kept_.begin());
    return kept_.emplace_back(LayOut(label, text_, box_));
}

void LaidOutText::Draw(QPainter& painter, const QLabel& label) {
    const Lines& lines = For(label);
    if (!lines.Layout) return;
    const QRectF area(box_);
    const Qt::Alignment alignment = label.alignment();
    const bool centred = alignment & Qt::AlignHCenter;
    qreal top = 0;
    if (alignment & Qt::AlignBottom) top = area.height() - lines.Extent.height();
    if (alignment & Qt::AlignVCenter) top = (area.height() - lines.Extent.height()) / 2;
    const qreal left = centred ? (area.width() - lines.Extent.width()) / 2 : 0;
    // Text that spills out of the box is cut at its edges.
    const bool spills =
        !area.contains(QRectF(QPointF(area.x() + left, area.y() + top), lines.Extent));
    painter.save();
    painter.setPen(QPen(label.palette().brush(label.foregroundRole()), painter.pen().widthF()));
    if (spills) painter.setClipRect(area, Qt::IntersectClip);
    for (int i = 0; i < lines.Layout->lineCount(); ++i) {
        const QTextLine line = lines.Layout->lineAt(i);
        const qreal indent = centred ? (area.width() - line.horizontalAdvance()) / 2 : 0;
        line.draw(&painter, QPointF(area.x() + indent, area.y() + top));
    }
    painter.restore();
}

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
    constexpr int line = kLabelBorderPixels;
    setContentsMargins(line, line, line, line);
    update();
}

void PlainTextLabel::paintEvent(QPaintEvent* event) {
    if (!LaidOutText::Serves(*this)) {
        QLabel::paintEvent(event);
        QPainter painter(this);
        DrawBorder(painter);
        return;
    }
    QPainter painter(this);
    laidOut_.Draw(painter, *this);
    DrawBorder(painter);
}

void PlainTextLabel::DrawBorder(QPainter& painter) const {
    if (!border_.isValid()) return;
    // Four filled edges cover the margin exactly at any scale.
    const int w = width(), h = height(), line = kLabelBorderPixels;
    for (const QRect edge : {QRect(0, 0, w, line), QRect(0, h - line, w, line),
                             QRect(0, 0, line, h), QRect(w - line, 0, line, h)}) {
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
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture());
}

void PictureBox::mousePressEvent(QMouseEvent* event) { AcceptPress(event); }

void PictureBox::keyPressEvent(QKeyEvent* event) {
    const std::optional<Key> key = KeyOf(*event);
    if (key && !event->isAutoRepeat() && KeyPresses(*key, ControlKind::PictureBox)) {
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (IsClickRelease(*this, event)) emit clicked();
}

}  // namespace avo::qt
