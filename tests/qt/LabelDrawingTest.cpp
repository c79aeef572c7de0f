#include <QImage>
#include <QTest>

#include <vector>

#include "platform/WindowDefaults.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/QtConversions.h"
#include "reference/CommandCatalogue.h"

namespace avo::testing {
namespace {

using qt::PlainTextLabel;

struct LabelLook {
    QString Text;
    QFont Font;
    QSize Box;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignTop;
    bool Bordered = false;
};

// Gives both labels the same look: the program's label as the windows build it, and a
// plain QLabel that draws its text the way Qt always has.
void Style(QLabel& label, const LabelLook& look) {
    label.setTextFormat(Qt::PlainText);
    label.setWordWrap(true);
    label.setText(look.Text);
    label.setAlignment(look.Alignment);
    label.setFont(look.Font);
    label.resize(look.Box);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(250, 240, 200));
    label.setPalette(palette);
    if (look.Bordered) label.setContentsMargins(1, 1, 1, 1);
}

// The label drawn over a dark ground, as a transparent label is drawn over its window's
// picture, at the given device pixel ratio.
QImage Drawn(QLabel& label, qreal ratio) {
    const QSize pixels = (QSizeF(label.size()) * ratio).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(20, 30, 60));
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

void ExpectDrawnAsQLabelDrawsIt(const LabelLook& look, qreal ratio) {
    PlainTextLabel mine(look.Text, nullptr);
    QLabel qts;
    Style(mine, look);
    Style(qts, look);
    if (look.Bordered) mine.SetSingleBorder(Qt::transparent);  // drawn over nothing visible
    const QString what = QString("\"%1\" at %2 pt, ratio %3")
                             .arg(look.Text.left(40))
                             .arg(look.Font.pointSizeF())
                             .arg(ratio);
    QVERIFY2(Drawn(mine, ratio) == Drawn(qts, ratio), qPrintable(what));
    QVERIFY2(Drawn(mine, ratio) == Drawn(qts, ratio), qPrintable(what + ", from the kept lines"));
}

QFont FontOf(std::string_view face, double points, bool boldItalic = false) {
    QFont font = qt::ToQFont(kDefaultWindowFont);
    font.setFamily(qt::InstalledFamily(face));
    font.setPointSizeF(points);
    font.setBold(boldItalic);
    font.setItalic(boldItalic);
    return font;
}

constexpr qreal kRatios[] = {1.0, 1.25, 1.5, 2.0};

}  // namespace

// A label keeps its text laid out between paints; what it draws must stay what QLabel
// draws, pixel for pixel, or the windows would look different from one paint to the next.
class LabelDrawingTest : public QObject {
    Q_OBJECT
private slots:
    // Every label the windows show: the caption at every quarter point it passes through and
    // a little beyond; every alias and description in the output boxes, which wrap, spill
    // over the bottom and are cut there, inside a one-pixel border; the headings, the maker's
    // name and the credit.
    void EveryLabelTheWindowsShow() {
        const QFont heading = FontOf("Tahoma", 9.75, true);
        const QFont box = FontOf("MS Sans Serif", 9.75);
        const Qt::Alignment centredAtTheTop = Qt::AlignHCenter | Qt::AlignTop;
        // clang-format off
        std::vector<LabelLook> looks = {
            {"KISAYOL", heading, {65, 25}},
            {"İŞLEVİ", heading, {57, 25}},
            {"Kavrelonix", FontOf("Tahoma", 18, true), {177, 33}},
            {"Tolvren Asukay tarafından Kavrelonix için yazılmıştır", FontOf("MS Sans Serif", 8.25),
             {265, 17}}};
        for (double points = 1.25; points <= 21.25; points += 0.25)
            looks.push_back({"Kavrelonix", FontOf("Arial", points), {289, 73}, centredAtTheTop});
        for (const CommandEntry& entry : CommandCatalogue) {
            for (std::string_view text : {entry.Alias, entry.Description})
                looks.push_back({qt::ToQString(text), box, {249, 73}, Qt::AlignHCenter, true});
        }
        // clang-format on
        for (qreal ratio : kRatios) {
            for (const LabelLook& look : looks) ExpectDrawnAsQLabelDrawsIt(look, ratio);
        }
    }

    void AwkwardTexts() {
        const QString texts[] = {
            "",
            "iki  boşluk   ve sonda boşluk   ",
            "ilk satır\nikinci satır\n\nboş satırdan sonra",
            "Çokuzunbirsözcükkutuyasığmazvekenardankesilir ve sonra kısa sözcükler",
            "sekme\tkarakteri",    // drawn by QLabel itself
            "carriage\r\nreturn",  // drawn by QLabel itself
            "& işareti && çift",
        };
        for (const QString& text : texts) {
            for (Qt::Alignment alignment :
                 {Qt::AlignLeft | Qt::AlignTop, Qt::AlignHCenter | Qt::AlignTop,
                  Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignBottom}) {
                for (qreal ratio : {1.0, 1.5})
                    ExpectDrawnAsQLabelDrawsIt({text, FontOf("Tahoma", 9.75), {120, 40}, alignment},
                                               ratio);
            }
        }
    }

    // A new text, font or box is laid out afresh, not drawn from an old layout; a font shown
    // before is drawn from its kept lines, also after more fonts than are kept.
    void FollowsEveryChange() {
        PlainTextLabel mine("Kavrelonix", nullptr);
        QLabel qts;
        LabelLook look{
            "Kavrelonix", FontOf("Arial", 12), {289, 73}, Qt::AlignHCenter | Qt::AlignTop};
        const auto expectSame = [&] {
            Style(mine, look);
            Style(qts, look);
            QVERIFY2(Drawn(mine, 1.0) == Drawn(qts, 1.0),
                     qPrintable(look.Text + " at " + QString::number(look.Font.pointSizeF())));
        };
        expectSame();
        look.Text = "Tolvren Asukay";
        expectSame();
        look.Font = FontOf("Arial", 16);
        expectSame();
        look.Box = {150, 60};
        expectSame();
        for (int cycle = 0; cycle < 2; ++cycle) {
            for (int step = 0; step < 60; ++step) {
                look.Font = FontOf("Arial", 2.25 + (step < 30 ? step : 59 - step));
                expectSame();
            }
        }
        look.Text = "Kavrelonix";
        expectSame();
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::LabelDrawingTest)
#include "LabelDrawingTest.moc"
