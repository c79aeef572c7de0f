#pragma once

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/qt/ScaledPicture.h"

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace avo::qt {

// The lines of a label's text as QLabel lays them out inside its box, kept between paints:
// the pulsating caption repaints every 30 ms, and shaping its text again each time was
// most of a tick's work. The caption cycles through the same sizes, so the lines are kept
// for each font the label has shown. Drawn, they come out pixel for pixel as QLabel draws
// them.
class LaidOutText {
public:
    // Whether this way of drawing matches QLabel's for the label as it is now. It does for
    // enabled, word-wrapped, left-to-right plain text, left-aligned or centred, without
    // tabs, mnemonics or line decorations: every label of the program's windows.
    static bool Serves(const QLabel& label);
    // Lays the text out only for a font not seen since the text or the box last changed.
    void Draw(QPainter& painter, const QLabel& label);

private:
    struct Lines {
        QFont Font;
        std::unique_ptr<QTextLayout> Layout;  // null for an empty text
        QSizeF Extent;                        // the widest line and the lines' total height
    };
    // More fonts than the caption's cycle passes through.
    static constexpr std::size_t kFontsKept = 24;

    const Lines& For(const QLabel& label);
    static Lines LayOut(const QLabel& label, const QString& text, const QRect& box);

    QString text_;
    QRect box_;
    int dpi_ = 0;
    std::vector<Lines> kept_;
};

// A label that shows its text exactly as stored: never rich text, word-wrapped inside its
// fixed box, every blank kept. It reports a click like any other control. Screen readers
// read the text it shows through their text interface, whatever name it carries.
class PlainTextLabel final : public QLabel {
    Q_OBJECT
public:
    PlainTextLabel(const QString& text, QWidget* parent);

    // Shows new text and tells screen readers what changed.
    void ReplaceText(const QString& text);
    // A line kLabelBorderPixels wide of the given colour around the box, inside its bounds.
    void SetSingleBorder(const QColor& colour);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawBorder(QPainter& painter) const;

    QColor border_;  // invalid: no border
    LaidOutText laidOut_;
};

// A picture box: a flat area in its background colour with its picture at natural size
// from the top-left corner, clipped to the box. It reports clicks, by the mouse and by the
// keys that press it; screen readers see a push button that their press action clicks.
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    ScaledPicture picture_;
};

}  // namespace avo::qt
