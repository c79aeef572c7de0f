#include "platform/qt/QtWindow.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include "platform/ControlStatus.h"
#include "platform/WindowDefaults.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/PlatformChoice.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/WaylandTitleBar.h"

namespace avo::qt {

Status QtWindow::Load(const WindowDescription& description, EventSink& sink,
                      std::unique_ptr<NativeWindow>& window) {
    auto form = std::make_unique<FormWidget>(description, sink);
    if (Status status = form->LoadStatus(); Failed(status)) return status;
    // Where the compositor leaves title bars to the program, it draws its own.
    const bool framed = HasTitleBar(description.Border);
    if (framed && OwnTitleBarNeeded()) WaylandTitleBar::AttachTo(*form);
    window.reset(new QtWindow(form.release()));
    return StatusOk;
}

QtWindow::~QtWindow() {
    if (!form_) return;
    form_->Detach();
    form_->hide();
    form_->deleteLater();
}

Status QtWindow::Show() {
    if (!form_ || !form_->IsAttached()) return StatusNotLoaded;
    // Shown means visible, restored from the task bar, above the other windows and active.
    form_->setWindowState((form_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    form_->show();
    form_->raise();
    form_->activateWindow();
    return StatusOk;
}

Status QtWindow::Destroy() {
    if (!form_ || !form_->IsAttached()) return StatusOk;
    form_->Detach();
    form_->hide();
    return StatusOk;
}

template <class Body>
Status QtWindow::Apply(ControlIndex index, ControlOperation operation, Body&& body) {
    if (!form_) return StatusNotLoaded;
    const Status status =
        ControlStatus(form_->Description(), !form_->IsAttached(), index, operation);
    return Failed(status) ? status : body(form_->Control(index));
}

Status QtWindow::SetText(ControlIndex index, std::string_view text) {
    return Apply(index, ControlOperation::SetText, [&](const BuiltControl& control) {
        static_cast<PlainTextLabel*>(control.Widget)->ReplaceText(ToQString(text));
        return StatusOk;
    });
}

// A list's text is its selected row, empty when none is; pictures have no text.
Status QtWindow::GetText(ControlIndex index, std::string& text) {
    return Apply(index, ControlOperation::GetText, [&](const BuiltControl& control) {
        text.clear();
        if (auto* label = qobject_cast<QLabel*>(control.Widget)) {
            text = ToUtf8(label->text());
        } else if (auto* list = qobject_cast<QListWidget*>(control.Widget)) {
            const QList<QListWidgetItem*> selected = list->selectedItems();
            if (!selected.isEmpty()) text = ToUtf8(selected.front()->text());
        }
        return StatusOk;
    });
}

Status QtWindow::IsRowSelected(ControlIndex index, int row, bool& selected) {
    return Apply(index, ControlOperation::IsRowSelected, [&](const BuiltControl& control) {
        auto* list = static_cast<QListWidget*>(control.Widget);
        if (Status status = RowStatus(row, list->count()); Failed(status)) return status;
        selected = list->item(row)->isSelected();
        return StatusOk;
    });
}

// Sizes are read back from the font every time: the font system has the last word.
Status QtWindow::GetFontSize(ControlIndex index, PointSize& size) {
    return Apply(index, ControlOperation::GetFontSize, [&](const BuiltControl& control) {
        size = PointSize::FromDouble(control.Widget->font().pointSizeF());
        return StatusOk;
    });
}

Status QtWindow::SetFontSize(ControlIndex index, PointSize size) {
    return Apply(index, ControlOperation::SetFontSize, [&](const BuiltControl& control) {
        if (Status status = FontSizeStatus(size); Failed(status)) return status;
        QFont font = control.Widget->font();
        font.setPointSizeF(size.ToDouble());
        control.Widget->setFont(font);
        return StatusOk;
    });
}

Status QtWindow::GetTimerEnabled(ControlIndex index, bool& enabled) {
    return Apply(index, ControlOperation::GetTimerEnabled, [&](const BuiltControl& control) {
        enabled = control.Timer->isActive();
        return StatusOk;
    });
}

// Enabling a stopped timer starts a fresh interval; enabling a running one changes nothing.
Status QtWindow::SetTimerEnabled(ControlIndex index, bool enabled) {
    return Apply(index, ControlOperation::SetTimerEnabled, [&](const BuiltControl& control) {
        if (!enabled) {
            control.Timer->stop();
        } else if (!control.Timer->isActive()) {
            control.Timer->start();
        }
        return StatusOk;
    });
}

}  // namespace avo::qt
