#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include "platform/qt/ScaledPicture.h"

class QMouseEvent;

namespace avo::qt {

// A label that shows its text exactly as stored: never rich text, word-wrapped inside its
// fixed box, every blank kept. It reports a click like any other control. Screen readers
// read the text it shows through their text interface, whatever name it carries.
class PlainTextLabel final : public QLabel {
    Q_OBJECT
public:
    PlainTextLabel(const QString& text, QWidget* parent);

    // Shows new text and tells screen readers what changed.
    void ReplaceText(const QString& text);
    // A 1-pixel line of the given colour around the box, inside its bounds.
    void SetSingleBorder(const QColor& colour);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor border_;  // invalid: no border
};

// A picture box: a flat area in its background colour with its picture at natural size
// from the top-left corner, clipped to the box. It takes the focus and reports clicks;
// screen readers see a push button that their press action clicks.
class PictureBox final : public QWidget {
    Q_OBJECT
public:
    PictureBox(ScaledPicture picture, QWidget* parent);
    // The picture as drawn on the screen the box is on now.
    QPixmap Picture() const { return picture_.ForRatio(devicePixelRatioF()); }
    void Click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ScaledPicture picture_;
};

}  // namespace avo::qt
