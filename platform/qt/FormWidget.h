#pragma once

#include <QPixmap>
#include <QWidget>

#include <vector>

#include "platform/Status.h"
#include "platform/Placement.h"
#include "platform/WindowSystem.h"
#include "platform/qt/ScaledPicture.h"

class QTimer;

namespace avo::qt {

// One control as built: a widget, or a timer for the controls that have no face.
struct BuiltControl {
    ControlKind Kind;
    QWidget* Widget = nullptr;
    QTimer* Timer = nullptr;
};

// The top-level widget of a loaded window: its background picture, its controls in
// description order (each parented to it, so that they die with it), and the path by which
// input and timer ticks reach the program. Once detached it reports nothing more; it is
// freed later, never from inside one of its own callbacks.
class FormWidget final : public QWidget {
    Q_OBJECT
public:
    explicit FormWidget(const WindowDescription& description, EventSink& sink);

    // StatusOk when every picture decoded and every control was built.
    Status LoadStatus() const { return loadStatus_; }
    const WindowDescription& Description() const { return description_; }
    const BuiltControl& Control(ControlIndex index) const { return controls_[index]; }
    std::size_t ControlCount() const { return controls_.size(); }

    bool IsAttached() const { return sink_ != nullptr; }
    // No more events reach the program: timers stop and the sink is forgotten.
    void Detach();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SetUpFrame();
    BuiltControl Build(const ControlDescription& control, ControlIndex index);
    QWidget* BuildListBox(const ControlDescription& control, ControlIndex index);
    QWidget* BuildLabel(const ControlDescription& control, ControlIndex index);
    QWidget* BuildPictureButton(const ControlDescription& control, ControlIndex index);
    QWidget* BuildPictureBox(const ControlDescription& control, ControlIndex index);
    QTimer* BuildTimer(const ControlDescription& control, ControlIndex index);
    ScaledPicture Decode(const PictureDescription& picture);
    void TieHeadingsToBoxes();
    void SetTabOrder();
    std::vector<const FormWidget*> OtherForms(std::vector<PlacementCandidate>& seen) const;
    void PlaceOnScreen();
    // Hands an event to the program while attached. The program may unload this window in
    // the call; nothing of it is touched afterwards.
    void Report(ControlIndex control, Event event);

    const WindowDescription& description_;
    EventSink* sink_;
    Status loadStatus_ = StatusOk;
    ScaledPicture background_;
    std::vector<BuiltControl> controls_;
};

}  // namespace avo::qt
