// The floor of a Qt program: a window of the main window's client size showing the same
// embedded background picture, a 49-row list, one label and a button, and nothing else.
// The button opens the floor of the About window: a bare 560 x 349 window whose one
// transparent label pulsates, one point every 30 ms. The benchmarks compare the program
// against both. With --program-faces the list and the label are drawn in the faces the
// program's look needs (Liberation Sans for the list, DejaVu Sans bold italic for the
// label), the fair floor: a plain floor draws everything in one face.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "EmbeddedPictures.h"
#include "reference/CommandCatalogue.h"

namespace {

QPixmap Decode(const avo::EmbeddedFile& file) {
    QPixmap pixmap;
    pixmap.loadFromData(file.Bytes.data(), static_cast<uint>(file.Bytes.size()), "JPG");
    return pixmap;
}

class PictureWindow : public QWidget {
public:
    PictureWindow(const avo::EmbeddedFile& picture, Qt::WindowFlags flags)
        : QWidget(nullptr, flags), background_(Decode(picture)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, background_);
    }

private:
    QPixmap background_;
};

// The same cycle as the maker's name: up to 20 points, down to 2, one point per tick.
class PulsingLabel : public QLabel {
public:
    PulsingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setAlignment(Qt::AlignCenter);
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        setPalette(palette);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
        timer_.start(30);
    }

private:
    void Step() {
        QFont grown = font();
        const double size = grown.pointSizeF() + step_;
        if (size >= 20 || size <= 2) step_ = -step_;
        grown.setPointSizeF(size);
        setFont(grown);
    }

    QTimer timer_;
    double step_ = 1;
};

PictureWindow* OpenAbout() {
    auto* about =
        new PictureWindow(avo::pictures::TextBackgroundJpg, Qt::Window | Qt::FramelessWindowHint);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setFixedSize(560, 349);
    auto* name = new PulsingLabel("Kavrelonix", about);
    name->setFont(QFont("Arial", 2));
    name->setGeometry(160, 144, 289, 73);
    about->show();
    return about;
}

void AddControls(QWidget& window, bool programFaces) {
    auto* list = new QListWidget(&window);
    for (const avo::CommandEntry& entry : avo::CommandCatalogue) {
        list->addItem(
            QString::fromUtf8(entry.ListText.data(), static_cast<int>(entry.ListText.size())));
    }
    list->setGeometry(56, 200, 121, 212);
    auto* label = new QLabel("KISAYOL", &window);
    label->setGeometry(344, 208, 249, 73);
    if (programFaces) {
        QFont rows("Liberation Sans");
        rows.setPointSizeF(8.25);
        list->setFont(rows);
        QFont heading("DejaVu Sans", -1, QFont::Bold, true);
        heading.setPointSizeF(9.75);
        label->setFont(heading);
    }
    auto* about = new QPushButton("Hakkında", &window);
    about->setGeometry(192, 344, 129, 25);  // where the program has its About button
    QObject::connect(about, &QPushButton::clicked, &window, [] { OpenAbout(); });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    PictureWindow window(avo::pictures::Form1BackgroundJpg, Qt::Window);
    window.setWindowTitle("Qt baseline");
    window.setFixedSize(649, 471);
    const bool programFaces = application.arguments().contains("--program-faces");
    AddControls(window, programFaces);
    window.show();
    return application.exec();
}
