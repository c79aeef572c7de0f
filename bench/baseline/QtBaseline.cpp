// The floor of a Qt program: a window of the main window's client size showing the same
// embedded background picture, a 49-row list and one label, and nothing else. The start-up
// benchmark compares the program against it.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "EmbeddedPictures.h"
#include "reference/CommandCatalogue.h"

namespace {

class BackgroundWindow : public QWidget {
public:
    BackgroundWindow() {
        const auto bytes = avo::pictures::Form1BackgroundJpg.Bytes;
        background_.loadFromData(bytes.data(), static_cast<uint>(bytes.size()), "JPG");
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, background_);
    }

private:
    QPixmap background_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    BackgroundWindow window;
    window.setWindowTitle("Qt baseline");
    window.setFixedSize(649, 471);
    auto* list = new QListWidget(&window);
    for (const avo::CommandEntry& entry : avo::CommandCatalogue) {
        list->addItem(QString::fromUtf8(entry.ListText.data(), static_cast<int>(entry.ListText.size())));
    }
    list->setGeometry(56, 200, 121, 212);
    auto* label = new QLabel("KISAYOL", &window);
    label->setGeometry(344, 208, 249, 73);
    window.show();
    return application.exec();
}
