#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "QtProgram.h"
#include "reference/CommandCatalogue.h"

namespace avo::testing {

// The main window as the program opens it, on the real Qt backend.
class MainWindowTest : public QtProgramTest {
    Q_OBJECT
private:
    QWidget* Form() { return LoadedForm("Form1"); }
    QWidget* Control(const char* name) { return ControlOf<QWidget>("Form1", name); }
    QListWidget* List() { return ControlOf<QListWidget>("Form1", "List1"); }
    QString Text(const char* label) { return ControlOf<QLabel>("Form1", label)->text(); }

private slots:
    void WindowLooksAsDrawn() {
        QWidget* form = Form();
        QCOMPARE(form->windowTitle(), "   Kavrelonix   Rivuvuv Avodevivu 2010");
        QCOMPARE(form->size(), QSize(649, 471));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!form->windowIcon().isNull());
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            QCOMPARE(ControlOf<QPushButton>("Form1", name)->text(), "");  // the picture says it
        }
        // clang-format off
        const std::pair<const char*, QRect> controls[] = {
            {"List1", {56, 200, 121, 212}},    {"Label1", {344, 208, 249, 73}},
            {"Label2", {440, 168, 65, 25}},    {"Label3", {344, 336, 249, 73}},
            {"Label4", {448, 304, 57, 25}},    {"Label5", {424, 48, 177, 33}},
            {"Command1", {192, 304, 129, 25}}, {"Command2", {192, 344, 129, 25}},
            {"Command3", {192, 384, 129, 25}}};
        // clang-format on
        for (const auto& [name, bounds] : controls) {
            QCOMPARE(ControlOf<QWidget>("Form1", name)->geometry(), bounds);
        }
        const QImage shot = form->grab().toImage();
        // The picture is 648 wide: the last column is the window's own face colour.
        const QColor face = QApplication::palette().color(QPalette::Button);
        for (int y : {0, 200, 470}) QCOMPARE(shot.pixelColor(648, y), face);
        QVERIFY(shot.pixelColor(647, 0) != face);
    }

    // Each label's text and size in the installed look-alike of the face it asks for, with its
    // style and whether it paints its own background, in white.
    void LabelsShowTheirTextsInTheirFonts() {
        const QString expected[] = {"Label1 \"\" Liberation Sans 9.75 pt, opaque",
                                    "Label2 \"KISAYOL\" DejaVu Sans 9.75 pt bold italic",
                                    "Label3 \"\" Liberation Sans 9.75 pt, opaque",
                                    "Label4 \"İŞLEVİ\" DejaVu Sans 9.75 pt bold italic",
                                    "Label5 \"Kavrelonix\" DejaVu Sans 18 pt bold italic"};
        for (const QString& look : expected) {
            auto* label = ControlOf<QLabel>("Form1", look.section(' ', 0, 0));
            const QFontInfo shown(label->font());  // what the font system really draws with
            QString seen = QString("%1 \"%2\" %3 %4 pt")
                               .arg(label->objectName(), label->text(), shown.family())
                               .arg(label->font().pointSizeF());
            if (shown.bold()) seen += " bold";
            if (shown.italic()) seen += " italic";
            if (label->autoFillBackground()) seen += ", opaque";
            QCOMPARE(seen, look);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
    }

    void ListHoldsTheCatalogueUnsortedWithNothingSelected() {
        QListWidget* list = List();
        QCOMPARE(list->count(), 49);
        for (int row = 0; row < list->count(); ++row) {
            QCOMPARE(list->item(row)->text(),
                     QString::fromUtf8(CommandListRows[row].data(), CommandListRows[row].size()));
        }
        QVERIFY(!list->isSortingEnabled());
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(list->selectedItems().isEmpty());
    }

    // The rows are drawn in the window's font, whatever the desktop gives item views, at 100 %
    // and 200 %; that each row fits beside the scroll bar is a conformance case.
    void ListDrawsItsRowsInTheWindowsFont() {
        QListWidget* list = List();
        QCOMPARE(list->font(), Form()->font());
        QCOMPARE(QFontInfo(list->font()).family(), "Liberation Sans");
        QCOMPARE(list->font().pointSizeF(), 8.25);
        QVERIFY(list->verticalScrollBar()->isVisible());
    }

    // The list's own keys select a row, as the mouse does.
    void SpaceOnTheListSelectsItsCurrentRow() {
        QTest::keyClick(List(), Qt::Key_Space);
        QVERIFY(List()->item(0)->isSelected());
    }

    // What the show button writes, in any locale, is what a screen reader reads.
    void ScreenReadersReadTheOutputBoxes() {
        List()->item(0)->setSelected(true);
        QTest::mouseClick(Control("Command1"), Qt::LeftButton);
        QCOMPARE(Text("Label1"), " L ");
        QCOMPARE(Text("Label3"), " Çizgi çizmemizi saglayan komuttur. ");
        const std::pair<const char*, const char*> boxesAndHeadings[] = {{"Label1", "Label2"},
                                                                        {"Label3", "Label4"}};
        for (const auto& [box, heading] : boxesAndHeadings) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Control(box));
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Description), Text(box));
            QAccessibleTextInterface* text = accessible->textInterface();
            QVERIFY(text);
            QVERIFY(accessible->rect().contains(text->characterRect(1)));
            QCOMPARE(text->offsetAtPoint(text->characterRect(1).center()), 1);
            // The heading labels the box, and the box knows its label.
            QAccessibleInterface* label = QAccessible::queryAccessibleInterface(Control(heading));
            const auto labelledBy = accessible->relations(QAccessible::Label);
            QCOMPARE(labelledBy.size(), 1);
            QCOMPARE(labelledBy.front().first, label);
            const auto labelFor = label->relations(QAccessible::Labelled);
            QCOMPARE(labelFor.size(), 1);
            QCOMPARE(labelFor.front().first, accessible);
        }
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::MainWindowTest)
#include "MainWindowTest.moc"
