#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

#include "QtProgram.h"
#include "app/Window.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/ScaledPicture.h"

// Run at QT_SCALE_FACTOR 1, 1.5 and 2: what the windows show at the screen's ratio.
namespace avo::testing {
namespace {

qreal Ratio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// Mean difference per channel (0 to 255) between `shown` and `picture` laid at `at`.
double MeanDifference(const QImage& shown, const QImage& picture, QPoint at) {
    const QImage a = shown.convertToFormat(QImage::Format_RGB32);
    const QImage b = picture.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(b.constScanLine(y + at.y())) + at.x();
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qRed(left[x]) - qRed(right[x])) +
                   std::abs(qGreen(left[x]) - qGreen(right[x])) +
                   std::abs(qBlue(left[x]) - qBlue(right[x]));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// The least difference over the places within `slack` pixels of `at`: a button centres its
// face by its own rounding, and a fractional ratio rounds where a region starts.
double BestDifference(const QImage& shown, const QImage& picture, QPoint at, int slack) {
    double best = std::numeric_limits<double>::max();
    for (int y = at.y() - slack; y <= at.y() + slack; ++y) {
        for (int x = at.x() - slack; x <= at.x() + slack; ++x) {
            if (x < 0 || y < 0 || x + shown.width() > picture.width() ||
                y + shown.height() > picture.height()) {
                continue;
            }
            best = std::min(best, MeanDifference(shown, picture, {x, y}));
        }
    }
    return best;
}

// What the screen shows of a described picture, beside the two ways it could have got there:
// drawn from the picture set for this ratio, or the 1x picture enlarged.
struct Comparison {
    double ToDrawn;
    double ToEnlarged;
};

// `at`: where on the picture, in logical pixels, the shown part starts; nothing for a part in
// the middle of it.
Comparison Compare(const QImage& shown, const PictureDescription& picture,
                   std::optional<QPoint> at) {
    const QPixmap oneX = qt::DecodePicture(picture.File);
    const QImage drawn =
        qt::PictureForRatio(oneX, qt::DecodePicture(picture.File2x), Ratio()).toImage();
    const QImage enlarged =
        oneX.toImage().scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QPoint start = at ? QPoint(std::lround(at->x() * Ratio()), std::lround(at->y() * Ratio()))
                            : QPoint((drawn.width() - shown.width()) / 2,
                                     (drawn.height() - shown.height()) / 2);
    const int slack = at ? 1 : static_cast<int>(std::ceil(2 * Ratio()));
    return {BestDifference(shown, drawn, start, slack),
            BestDifference(shown, enlarged, start, slack)};
}

const ControlDescription& Described(const WindowDescription& window, std::string_view name) {
    for (const ControlDescription& control : window.Controls) {
        if (control.Name == name) return control;
    }
    qFatal("no control %s", std::string(name).c_str());
}

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT
private:
    static QImage Shown(QWidget* widget, QRect logical = {}) {
        return widget->grab(logical.isNull() ? widget->rect() : logical).toImage();
    }
    static void ExpectDrawnFromItsSet(const QImage& shown, const PictureDescription& picture,
                                      const char* what, std::optional<QPoint> at = {}) {
        const Comparison c = Compare(shown, picture, at);
        qInfo("%s at %.2f: %.2f from its set, %.2f from 1x enlarged", what, Ratio(), c.ToDrawn,
              c.ToEnlarged);
        // At 100 % nothing is scaled: the picture's own pixels.
        QVERIFY2(c.ToDrawn <= (Ratio() == 1.0 ? 0.0 : 2.0), what);
        if (Ratio() > 1.0) QVERIFY2(c.ToEnlarged > 2 * c.ToDrawn + 1.0, what);
    }
    void OpenAbout() {
        QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(LoadedForm("Text")));
    }

    std::unique_ptr<FakeOpener> opener;
    std::unique_ptr<QtProgram> program;

private slots:
    void init() {
        opener = std::make_unique<FakeOpener>();
        program = std::make_unique<QtProgram>();
        QVERIFY(QTest::qWaitForWindowExposed(LoadedForm("Form1")));
    }
    void cleanup() {
        program.reset();
        opener.reset();
    }

    // Parts free of controls, with detail enough to tell a drawn picture from an enlarged
    // one: the laptop, and the map's Europe and Asia.
    void BackgroundsComeFromTheSetForTheRatio() {
        const WindowDescription& form1 = AvodevivuProgram().Classes[0].Description;
        ExpectDrawnFromItsSet(Shown(LoadedForm("Form1"), {40, 20, 150, 150}), form1.Picture,
                              "main window background", QPoint(40, 20));
        OpenAbout();
        const WindowDescription& text = AvodevivuProgram().Classes[1].Description;
        ExpectDrawnFromItsSet(Shown(LoadedForm("Text"), {250, 20, 200, 110}), text.Picture,
                              "About map", QPoint(250, 20));
    }

    void ButtonFacesComeFromTheSetForTheRatio() {
        const WindowDescription& form1 = AvodevivuProgram().Classes[0].Description;
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            const PictureDescription& face = Described(form1, name).Picture;
            auto* button = ControlOf<QPushButton>("Form1", name);
            // The middle of the face, clear of the button's own frame.
            QRect middle(QPoint(), QSize(face.Width, face.Height) - QSize(12, 8));
            middle.moveCenter(button->rect().center());
            if (Ratio() == std::round(Ratio())) {
                ExpectDrawnFromItsSet(Shown(button, middle), face, name);
            } else {
                // At a fractional ratio the style fits the face into whole logical pixels,
                // which moves it by part of a pixel; what it is handed is compared instead.
                const QImage handed = button->icon().pixmap(button->iconSize(), Ratio()).toImage();
                QRect part(QPoint(), middle.size() * Ratio());
                part.moveCenter(handed.rect().center());
                ExpectDrawnFromItsSet(handed.copy(part), face, name);
            }
        }
        OpenAbout();
        const WindowDescription& text = AvodevivuProgram().Classes[1].Description;
        ExpectDrawnFromItsSet(Shown(ControlOf<QWidget>("Text", "Picture1"), {0, 0, 16, 16}),
                              Described(text, "Picture1").Picture, "exit picture", QPoint(0, 0));
    }

    // Sizes stay logical, so on the screen everything grows with the ratio and nothing is cut
    // off: the windows, and every row of the list, whose height follows the desktop's font.
    void GeometryGrowsWithTheRatioAndRowsFit() {
        QWidget* form = LoadedForm("Form1");
        QCOMPARE(Shown(form).size(), QSize(std::lround(649 * Ratio()), std::lround(471 * Ratio())));
        auto* list = ControlOf<QListWidget>("Form1", "List1");
        QCOMPARE(list->geometry(), QRect(56, 200, 121, 212));
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < list->count(); ++row) {
            const QRect rect = list->visualItemRect(list->item(row));
            QVERIFY2(rect.height() >= metrics.height(), qPrintable(list->item(row)->text()));
        }
        OpenAbout();
        QCOMPARE(Shown(LoadedForm("Text")).size(),
                 QSize(std::lround(560 * Ratio()), std::lround(349 * Ratio())));
    }

    // The caption keeps its point sizes; its letters grow on the screen with the ratio.
    void CaptionPulsatesInPointsAndGrowsInPixels() {
        OpenAbout();
        auto* caption = ControlOf<QLabel>("Text", "Label1");
        QCOMPARE(caption->font().pointSizeF(), 2.25);
        QTRY_VERIFY_WITH_TIMEOUT(caption->font().pointSizeF() >= 5.25, 15000);
        Window& about = *program->shell.Instance(WindowName::Text);
        about.Control("Timer1").SetEnabled(false);
        about.Control("Timer2").SetEnabled(false);
        about.Control("Label1").SetFontSize(PointSize::FromTenThousandths(202500));
        QCOMPARE(caption->font().pointSizeF(), 20.25);
        // Rows of the label that hold white ink, on the device's pixels.
        const QImage shown = Shown(caption);
        int inkRows = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (qGray(shown.pixel(x, y)) > 240) {
                    ++inkRows;
                    break;
                }
            }
        }
        const double capHeight = QFontMetricsF(caption->font()).capHeight() * Ratio();
        QVERIFY2(inkRows >= capHeight && inkRows <= 2 * capHeight, qPrintable(QString::number(inkRows)));
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::HighDpiTest)
#include "HighDpiTest.moc"
