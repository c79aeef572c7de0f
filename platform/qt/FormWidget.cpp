#include "platform/qt/FormWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

#include "platform/AccessibleNames.h"
#include "platform/Keyboard.h"
#include "platform/WindowDefaults.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtConversions.h"

namespace avo::qt {
namespace {

// The frame HasTitleBar describes; the customised hints leave the maximise box out.
Qt::WindowFlags FlagsFor(BorderStyle border) {
    if (!HasTitleBar(border)) return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

// A Wayland client cannot place its own windows: the compositor does. A window that belongs
// over another is made that window's transient child there, which compositors place over it
// and keep in front of it.
void FollowOwnerOnWayland(QWidget& window, const QWidget& owner) {
    if (QGuiApplication::platformName() != QLatin1String("wayland")) return;
    window.winId();  // the native window, so that it can be given its parent
    owner.winId();
    window.windowHandle()->setTransientParent(owner.windowHandle());
}

// The logical pixels a picture drawn at the top-left corner covers whole. A fractional
// ratio can leave a last column or row partly covered: that one is not counted.
QRect PixelsCoveredBy(const QPixmap& picture) {
    const QSizeF size = picture.deviceIndependentSize();
    return QRect(0, 0, static_cast<int>(size.width()), static_cast<int>(size.height()));
}

Qt::Alignment HorizontalAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Centre: return Qt::AlignHCenter;
        case Alignment::Right: return Qt::AlignRight;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

void SetColours(QWidget& widget, QPalette::ColorRole back, QPalette::ColorRole fore,
                const ControlDescription& control) {
    QPalette palette = widget.palette();
    palette.setColor(back, ToQColor(control.BackColour));
    palette.setColor(fore, ToQColor(control.ForeColour));
    widget.setPalette(palette);
}

}  // namespace

FormWidget::FormWidget(const WindowDescription& description, EventSink& sink)
    : QWidget(nullptr, FlagsFor(description.Border)), description_(description), sink_(&sink) {
    SetUpFrame();
    controls_.reserve(description.Controls.size());
    for (ControlIndex i = 0; i < description.Controls.size(); ++i) {
        controls_.push_back(Build(description.Controls[i], i));
    }
    TieHeadingsToBoxes();
    SetTabOrder();
    PlaceOnScreen();
}

void FormWidget::SetUpFrame() {
    setObjectName(ToQString(description_.Name));
    setWindowTitle(ToQString(description_.Caption));
    setFixedSize(TwipsToPixels(description_.ClientWidth), TwipsToPixels(description_.ClientHeight));
    setFont(ToQFont(kDefaultWindowFont));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(description_.BackColour));
    setPalette(palette);
    // The paint event fills what its picture leaves uncovered; nothing is painted twice.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (description_.Picture) background_ = Decode(description_.Picture);
    if (description_.Icon) setWindowIcon(DecodeIcon(description_.Icon));
}

ScaledPicture FormWidget::Decode(const PictureDescription& picture) {
    ScaledPicture decoded(picture);
    if (decoded.Failed()) loadStatus_ = StatusFailed;
    return decoded;
}

BuiltControl FormWidget::Build(const ControlDescription& control, ControlIndex index) {
    BuiltControl built{control.Kind};
    switch (control.Kind) {
        case ControlKind::ListBox: built.Widget = BuildListBox(control, index); break;
        case ControlKind::Label: built.Widget = BuildLabel(control, index); break;
        case ControlKind::PictureButton: built.Widget = BuildPictureButton(control, index); break;
        case ControlKind::PictureBox: built.Widget = BuildPictureBox(control, index); break;
        case ControlKind::Timer: built.Timer = BuildTimer(control, index); break;
    }
    if (built.Timer) built.Timer->setObjectName(ToQString(control.Name));
    if (QWidget* widget = built.Widget) {
        widget->setObjectName(ToQString(control.Name));
        widget->setGeometry(ToPixels(control.Bounds));
        // Every control gets its font outright, so that no per-class font of the desktop's
        // theme (item views have their own) takes the place of the window's.
        widget->setFont(ToQFont(control.Font ? *control.Font : kDefaultWindowFont));
        widget->setAccessibleName(ToQString(AccessibleNameOf(control)));
        if (!control.ToolTip.empty()) widget->setToolTip(ToQString(control.ToolTip));
    }
    return built;
}

QWidget* FormWidget::BuildListBox(const ControlDescription& control, ControlIndex index) {
    auto* list = new QListWidget(this);
    for (std::string_view row : control.Rows) list->addItem(ToQString(row));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);  // a long row is cut at the edge, as typed
    SetColours(*list, QPalette::Base, QPalette::Text, control);
    connect(list, &QListWidget::itemSelectionChanged, this,
            [this, index] { Report(index, Event::Click); });
    return list;
}

QWidget* FormWidget::BuildLabel(const ControlDescription& control, ControlIndex index) {
    auto* label = new PlainTextLabel(ToQString(control.Text), this);
    // Labels write from the top of their box down, wrapping, as Windows labels do.
    label->setAlignment(HorizontalAlignment(control.TextAlignment) | Qt::AlignTop);
    if (control.Border == BorderStyle::FixedSingle)
        label->SetSingleBorder(ToQColor(kLabelBorderColour));
    // A transparent label lets the window's picture show through around its text.
    label->setAutoFillBackground(!control.Transparent);
    SetColours(*label, QPalette::Window, QPalette::WindowText, control);
    connect(label, &PlainTextLabel::clicked, this, [this, index] { Report(index, Event::Click); });
    return label;
}

QWidget* FormWidget::BuildPictureButton(const ControlDescription& control, ControlIndex index) {
    auto* button = new QPushButton(this);
    const ScaledPicture face = Decode(control.Picture);
    button->setIcon(face.Icon());
    button->setIconSize(face.LogicalSize());
    // Never a default button: QPushButton's own keys then press it on Space alone, as
    // KeyPresses has it.
    button->setAutoDefault(false);
    button->setDefault(false);
    SetColours(*button, QPalette::Button, QPalette::ButtonText, control);
    connect(button, &QPushButton::clicked, this, [this, index] { Report(index, Event::Click); });
    return button;
}

QWidget* FormWidget::BuildPictureBox(const ControlDescription& control, ControlIndex index) {
    auto* box = new PictureBox(Decode(control.Picture), this);
    SetColours(*box, QPalette::Window, QPalette::WindowText, control);
    connect(box, &PictureBox::clicked, this, [this, index] { Report(index, Event::Click); });
    return box;
}

QTimer* FormWidget::BuildTimer(const ControlDescription& control, ControlIndex index) {
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(control.IntervalMs);
    connect(timer, &QTimer::timeout, this, [this, index] { Report(index, Event::Timer); });
    if (control.Enabled) timer->start();
    return timer;
}

// The heading labels its box, so that screen readers can go from one to the other.
void FormWidget::TieHeadingsToBoxes() {
    for (ControlIndex box = 0; box < controls_.size(); ++box) {
        if (const std::optional<ControlIndex> heading = HeadingOf(description_, box)) {
            static_cast<QLabel*>(controls_[*heading].Widget)->setBuddy(controls_[box].Widget);
        }
    }
}

// Only the controls of the tab order take the focus; the first one has it when the window
// opens. Labels keep QLabel's NoFocus.
void FormWidget::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const ControlIndex index : TabOrder(description_)) {
        QWidget* widget = controls_[index].Widget;
        widget->setFocusPolicy(Qt::StrongFocus);
        if (previous) {
            QWidget::setTabOrder(previous, widget);
        } else {
            widget->setFocus();
        }
        previous = widget;
    }
}

// The program's other loaded windows as placement sees them. Qt's geometry is the client
// area, which the window manager frames alike for each window.
std::vector<const FormWidget*> FormWidget::OtherForms(std::vector<PlacementCandidate>& seen) const {
    std::vector<const FormWidget*> others;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const auto* form = dynamic_cast<const FormWidget*>(widget);
        if (!form || form == this || !form->IsAttached()) continue;
        const QRect frame = form->geometry();
        others.push_back(form);
        seen.push_back({{frame.x(), frame.y(), frame.width(), frame.height()},
                        form == QApplication::activeWindow(),
                        form->isVisible() && !form->isMinimized()});
    }
    return others;
}

void FormWidget::PlaceOnScreen() {
    const QRect screenArea = screen()->availableGeometry();
    const PixelRect area{screenArea.x(), screenArea.y(), screenArea.width(), screenArea.height()};
    std::vector<PlacementCandidate> candidates;
    const std::vector<const FormWidget*> others = OtherForms(candidates);
    std::optional<std::size_t> owner;
    if (description_.Position == StartUpPosition::CentreOwner) owner = ChooseOwner(candidates);
    if (owner) FollowOwnerOnWayland(*this, *others[*owner]);
    const PixelRect placed =
        InitialPlacement(description_.Position, width(), height(), area,
                         owner ? std::optional(candidates[*owner].Frame) : std::nullopt);
    // The frame is not known before the window manager maps the window. Where the window
    // lies inside the work area, its client area is placed, centred alike with or without a
    // frame; where it was held at the work area's edge, the frame's corner is, so that the
    // title bar stays on the screen.
    if (placed.Left > area.Left && placed.Top > area.Top) {
        setGeometry(placed.Left, placed.Top, placed.Width, placed.Height);
    } else {
        move(placed.Left, placed.Top);
    }
}

void FormWidget::Detach() {
    sink_ = nullptr;
    for (const BuiltControl& control : controls_) {
        if (control.Timer) control.Timer->stop();
    }
}

void FormWidget::Report(ControlIndex control, Event event) {
    if (EventSink* sink = sink_) sink->OnEvent(control, event);
}

void FormWidget::paintEvent(QPaintEvent* event) {
    // At natural size from the top-left corner: never scaled or tiled; what does not fit is
    // cut off, and the window's own colour shows where the picture ends. On a high-DPI
    // screen the natural size is the logical one, drawn from the 2x picture. A title bar of
    // the program's own sits above the contents rectangle.
    QPainter painter(this);
    const QPixmap picture = background_.ForRatio(devicePixelRatioF());
    const QPoint origin = contentsRect().topLeft();
    const QRect covered = PixelsCoveredBy(picture).translated(origin);
    if (!covered.contains(event->rect())) {
        for (const QRect& part : event->region() - covered)
            painter.fillRect(part, palette().brush(QPalette::Window));
    }
    painter.drawPixmap(origin, picture);
}

void FormWidget::closeEvent(QCloseEvent* event) {
    // The close box asks the program, which unloads the window as Unload does; the widget
    // never closes by itself.
    event->ignore();
    if (EventSink* sink = sink_) sink->OnCloseCommand();
}

}  // namespace avo::qt
