#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cmath>

#include "QtProgram.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/ScaledPicture.h"

// Run at QT_SCALE_FACTOR 1, 1.5 and 2: what the windows show at the screen's ratio.
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

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT
private:
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

    // The caption keeps its point sizes; Qt turns them into pixels for the screen.
    void CaptionPulsates() {
        OpenAbout();
        auto* caption = ControlOf<QLabel>("Text", "Label1");
        // A slow run (under the sanitizers) may already have ticked: any size of the cycle
        // will do, as long as it is still a whole step from 2.25 points, not a pixel size.
        const double opened = caption->font().pointSizeF();
        QVERIFY2(opened >= 1.25 && opened <= 20.25 && std::fmod(opened, 1.0) == 0.25,
                 qPrintable(QString::number(opened)));
        QTRY_VERIFY_WITH_TIMEOUT(caption->font().pointSizeF() >= 5.25, 15000);
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::HighDpiTest)
#include "HighDpiTest.moc"
