#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "QtProgram.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/ScaledPicture.h"

// Run at QT_SCALE_FACTOR 1 to 2 in quarters: what the windows show at the screen's ratio.
namespace avo::testing {
namespace {

qreal Ratio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// Mean difference per channel (0 to 255) between `shown` and the part of `picture` at `at`.
double MeanDifference(const QImage& shown, const QImage& picture, QPoint at) {
    double sum = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y);
            const QRgb b = picture.pixel(x + at.x(), y + at.y());
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        }
    }
    return sum / (3.0 * shown.width() * shown.height());
}

// What is shown of a picture, starting at logical point `at` of it, must be the picture set
// for the ratio (the 2x one above 1) and clearly not the 1x picture enlarged.
void ExpectDrawnFromItsSet(const QImage& shown, const PictureDescription& picture, QPoint at,
                           const char* what) {
    const QPixmap oneX = qt::DecodePicture(picture.File);
    const QImage drawn =
        qt::PictureForRatio(oneX, qt::DecodePicture(picture.File2x), Ratio()).toImage();
    const QImage enlarged =
        oneX.toImage().scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QPoint start(std::lround(at.x() * Ratio()), std::lround(at.y() * Ratio()));
    const double toDrawn = MeanDifference(shown, drawn, start);
    const double toEnlarged = MeanDifference(shown, enlarged, start);
    qInfo("%s at %.2f: %.2f from its set, %.2f from 1x enlarged", what, Ratio(), toDrawn,
          toEnlarged);
    QVERIFY2(toDrawn <= (Ratio() == 1.0 ? 0.0 : 0.5), what);
    if (Ratio() > 1.0) QVERIFY2(toEnlarged > 2 * toDrawn + 1.0, what);
}

const ControlDescription& Described(int window, std::string_view control) {
    const WindowClass& windowClass = AvodevivuProgram().Classes[window];
    return windowClass.Description.Controls[windowClass.IndexOf(control)];
}

// Notes every size the caption's font takes, as the timers change it.
struct FontSizeRecorder final : QObject {
    explicit FontSizeRecorder(QWidget* label) : label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FontChange) sizes << label->font().pointSizeF();
        return false;
    }
    QWidget* label;
    QList<double> sizes;
};

}  // namespace

class HighDpiTest : public QtProgramTest {
    Q_OBJECT
private:
    void OpenAbout() {
        QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(LoadedForm("Text")));
    }

private slots:
    // On the screen: parts of the backgrounds free of controls (the laptop, the map's Europe
    // and Asia), starting at multiples of four logical pixels, which fall on whole device
    // pixels at every quarter ratio, and the exit picture. The button faces as handed to the style,
    // which at a fractional ratio fits them into whole logical pixels.
    void PicturesComeFromTheSetForTheRatio() {
        ExpectDrawnFromItsSet(LoadedForm("Form1")->grab({40, 20, 150, 150}).toImage(),
                              AvodevivuProgram().Classes[0].Description.Picture, {40, 20},
                              "main window background");
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            auto* button = ControlOf<QPushButton>("Form1", name);
            ExpectDrawnFromItsSet(button->icon().pixmap(button->iconSize(), Ratio()).toImage(),
                                  Described(0, name).Picture, {0, 0}, name);
        }
        OpenAbout();
        ExpectDrawnFromItsSet(LoadedForm("Text")->grab({252, 20, 200, 108}).toImage(),
                              AvodevivuProgram().Classes[1].Description.Picture, {252, 20},
                              "About map");
        QWidget* exit = ControlOf<QWidget>("Text", "Picture1");
        ExpectDrawnFromItsSet(exit->grab({0, 0, 16, 16}).toImage(),
                              Described(1, "Picture1").Picture, {0, 0}, "exit picture");
    }

    // Sizes stay logical, so on the screen the windows grow with the ratio, and every row of
    // the list keeps the height its font needs.
    void GeometryGrowsWithTheRatioAndRowsFit() {
        QCOMPARE(LoadedForm("Form1")->grab().size(),
                 QSize(std::lround(649 * Ratio()), std::lround(471 * Ratio())));
        auto* list = ControlOf<QListWidget>("Form1", "List1");
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < list->count(); ++row) {
            QVERIFY(list->visualItemRect(list->item(row)).height() >= metrics.height());
        }
        OpenAbout();
        QCOMPARE(LoadedForm("Text")->grab().size(),
                 QSize(std::lround(560 * Ratio()), std::lround(349 * Ratio())));
    }

    // The caption keeps its point sizes, which Qt turns into pixels for the screen. Shrinking
    // first, it hands over to growing at once, grows past 20 points and hands back: 1.25,
    // 2.25 ... 20.25, 19.25, twenty-one ticks of 30 ms on precise timers, given ample time.
    void CaptionPulsatesInPointSizes() {
        QTest::mouseClick(ControlOf<QWidget>("Form1", "Command2"), Qt::LeftButton);
        auto* caption = ControlOf<QLabel>("Text", "Label1");
        const QRect box = caption->geometry();
        QCOMPARE(caption->font().pointSizeF(), 2.25);
        QCOMPARE(ControlOf<QTimer>("Text", "Timer1")->timerType(), Qt::PreciseTimer);
        FontSizeRecorder recorder(caption);
        QList<double> expected;
        for (int i = 0; i <= 19; ++i) expected << 1.25 + i;
        expected << 19.25;
        QTRY_VERIFY_WITH_TIMEOUT(recorder.sizes.size() >= expected.size(), 15000);
        QCOMPARE(recorder.sizes.mid(0, expected.size()), expected);
        QCOMPARE(caption->geometry(), box);
        QVERIFY(caption->alignment() & Qt::AlignHCenter);
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::HighDpiTest)
#include "HighDpiTest.moc"
