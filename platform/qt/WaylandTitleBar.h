#pragma once

#include <QWidget>

namespace avo::qt {

// A title bar of the program's own, for a native Wayland client whose compositor leaves title
// bars to its clients: there Qt's own would offer a maximise box on windows that never change
// size. It shows the window's icon and caption, a minimise box and a close box. The caption
// drags the window; the close box closes it as the compositor's close command would, and the
// minimise box minimises it. Neither box takes the keyboard focus, as in a window manager's
// title bar.
class WaylandTitleBar final : public QWidget {
    Q_OBJECT
public:
    enum class Part { None, Caption, MinimiseBox, CloseBox };
    Q_ENUM(Part)

    // Makes the top-level window frameless and puts a title bar across its top. The window
    // grows by the bar's height and everything it held moves down by as much, unchanged:
    // its own painting starts at the top of its contents rectangle.
    static WaylandTitleBar* AttachTo(QWidget& window);

    Part PartAt(QPoint position) const;
    // Where a box is drawn, in the bar's coordinates; empty for the caption.
    QRect BoxRect(Part box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    explicit WaylandTitleBar(QWidget& window);
    void PaintCaption(QPainter& painter, const QColor& text) const;
    void PaintBox(QPainter& painter, Part box, const QColor& background, const QColor& text) const;
    void Activate(Part box);
    void SetHovered(Part part);

    Part hovered_ = Part::None;
    Part pressed_ = Part::None;
};

}  // namespace avo::qt
