#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "EmbeddedPictures.h"
#include "QtProgram.h"
#include "about/Text.h"
#include "reference/Form1.h"

namespace avo::testing {
namespace {

// Records what a window reports, as the program would receive it.
struct RecordingSink final : EventSink {
    void OnEvent(ControlIndex control, Event event) override { events.push_back({control, event}); }
    void OnCloseCommand() override { ++closeCommands; }
    std::vector<std::pair<ControlIndex, Event>> events;
    int closeCommands = 0;
};

using Request = std::function<Status(NativeWindow&)>;

ControlIndex IndexOf(const WindowDescription& description, std::string_view name) {
    for (ControlIndex i = 0; i < description.Controls.size(); ++i) {
        if (description.Controls[i].Name == name) return i;
    }
    return kFormControl;
}

// Where a box's white text lies, inside its one-pixel border.
QRect InkBounds(QWidget* box) {
    const QImage image = box->grab().toImage();
    QRect ink;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            if (qGray(image.pixel(x, y)) > 128) ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

}  // namespace
}  // namespace avo::testing

Q_DECLARE_METATYPE(avo::testing::Request)

namespace avo::testing {

// One NativeWindow on the Qt backend at a time, without the program's shell.
class QtWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<NativeWindow> Load(const WindowDescription& description) {
        std::unique_ptr<NativeWindow> window;
        if (Failed(system->Load(description, sink, window))) return nullptr;
        return window;
    }
    static ControlIndex Form1Control(std::string_view name) {
        return IndexOf(form1::Description(), name);
    }

    std::unique_ptr<qt::QtWindowSystem> system;
    RecordingSink sink;

private slots:
    void init() {
        system = std::make_unique<qt::QtWindowSystem>();
        sink = {};
    }
    void cleanup() {
        system.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void ImpossibleRequestsFail_data() {
        QTest::addColumn<Request>("request");
        QTest::addColumn<Status>("expected");
        const ControlIndex list = Form1Control("List1");
        const ControlIndex label = Form1Control("Label1");
        const ControlIndex button = Form1Control("Command1");
        bool flag = false;
        std::string text;
        QTest::newRow("text into the list")
            << Request([=](NativeWindow& w) { return w.SetText(list, "x"); }) << StatusWrongKind;
        QTest::newRow("text onto a picture button")
            << Request([=](NativeWindow& w) { return w.SetText(button, "x"); }) << StatusWrongKind;
        QTest::newRow("row of a label")
            << Request([=](NativeWindow& w) mutable { return w.IsRowSelected(label, 0, flag); })
            << StatusWrongKind;
        QTest::newRow("row before the first")
            << Request([=](NativeWindow& w) mutable { return w.IsRowSelected(list, -1, flag); })
            << StatusInvalidArgument;
        QTest::newRow("row after the last")
            << Request([=](NativeWindow& w) mutable { return w.IsRowSelected(list, 49, flag); })
            << StatusInvalidArgument;
        QTest::newRow("timer flag of a label")
            << Request([=](NativeWindow& w) mutable { return w.GetTimerEnabled(label, flag); })
            << StatusWrongKind;
        QTest::newRow("no size at all")
            << Request([=](NativeWindow& w) { return w.SetFontSize(label, PointSize()); })
            << StatusInvalidArgument;
        QTest::newRow("control past the end")
            << Request([=](NativeWindow& w) mutable { return w.GetText(99, text); })
            << StatusInvalidArgument;
    }
    void ImpossibleRequestsFail() {
        QFETCH(Request, request);
        QFETCH(Status, expected);
        auto window = Load(form1::Description());
        QVERIFY(window);
        QCOMPARE(request(*window), expected);
    }

    void TextsKeepEverySpaceAndStayPlain() {
        auto window = Load(form1::Description());
        const ControlIndex label = Form1Control("Label1");
        for (const std::string text : {"  a  b  ", "<b>bold</b>", " Çizgi\tİŞ "}) {
            QCOMPARE(window->SetText(label, text), StatusOk);
            std::string back;
            QCOMPARE(window->GetText(label, back), StatusOk);
            QCOMPARE(back, text);
        }
        QCOMPARE(ControlOf<QLabel>("Form1", "Label1")->textFormat(), Qt::PlainText);
    }

    // Leading and trailing blanks both count, so " L " sits exactly where "L" does in a
    // centred box, and a doubled space is wider than a single one.
    void EverySpaceTakesItsPlace() {
        auto window = Load(form1::Description());
        const ControlIndex label = Form1Control("Label1");
        auto inkOf = [&](const char* text) {
            window->SetText(label, text);
            return InkBounds(ControlOf<QWidget>("Form1", "Label1"));
        };
        QCOMPARE(inkOf(" L "), inkOf("L"));
        QVERIFY(inkOf("  L").center().x() > inkOf("L").center().x());
        QVERIFY(inkOf("L  ").center().x() < inkOf("L").center().x());
        QVERIFY(inkOf("a  b").width() > inkOf("a b").width());
    }

    void ListTextIsTheSelectedRow() {
        auto window = Load(form1::Description());
        const ControlIndex list = Form1Control("List1");
        std::string text = "stale";
        QCOMPARE(window->GetText(list, text), StatusOk);
        QCOMPARE(text, "");
        ControlOf<QListWidget>("Form1", "List1")->item(5)->setSelected(true);
        bool selected = false;
        QCOMPARE(window->IsRowSelected(list, 5, selected), StatusOk);
        QVERIFY(selected);
        QCOMPARE(window->GetText(list, text), StatusOk);
        QCOMPARE(text, "Dimension Text");
    }

    void FontSizeComesBackFromTheFont() {
        auto window = Load(about::Description());
        const ControlIndex caption = IndexOf(about::Description(), "Label1");
        QCOMPARE(window->SetFontSize(caption, PointSize::FromTenThousandths(137500)), StatusOk);
        PointSize size;
        QCOMPARE(window->GetFontSize(caption, size), StatusOk);
        QCOMPARE(size, PointSize::FromTenThousandths(137500));
        const QFont font = ControlOf<QLabel>("Text", "Label1")->font();
        QCOMPARE(font.pointSizeF(), 13.75);
        QCOMPARE(font.family(), "Arial");  // only the size changes
    }

    void TimersTickIntoTheSinkWhileEnabled() {
        auto window = Load(about::Description());
        const ControlIndex grow = IndexOf(about::Description(), "Timer1");
        const ControlIndex shrink = IndexOf(about::Description(), "Timer2");
        bool enabled = false;
        QCOMPARE(window->GetTimerEnabled(shrink, enabled), StatusOk);
        QVERIFY(enabled);  // running from the load on
        QCOMPARE(window->SetTimerEnabled(shrink, false), StatusOk);
        QCOMPARE(window->SetTimerEnabled(grow, true), StatusOk);
        QCOMPARE(ControlOf<QTimer>("Text", "Timer1")->timerType(), Qt::PreciseTimer);
        QTRY_VERIFY(!sink.events.empty());
        for (const auto& [control, event] : sink.events) {
            QCOMPARE(control, grow);
            QCOMPARE(event, Event::Timer);
        }
    }

    void DestroyedWindowIsSilentAndRefusesEverything() {
        auto window = Load(about::Description());
        QCOMPARE(window->Show(), StatusOk);
        QPointer<qt::FormWidget> form = LoadedForm("Text");
        QPointer<QTimer> shrink = form->findChild<QTimer*>("Timer2");
        QCOMPARE(window->Destroy(), StatusOk);
        QVERIFY(!form->isVisible());
        QVERIFY(!shrink->isActive());
        QTest::mouseClick(form->findChild<QWidget*>("Picture1"), Qt::LeftButton);
        QVERIFY(sink.events.empty());
        std::string text;
        PointSize size;
        QCOMPARE(window->Show(), StatusNotLoaded);
        QCOMPARE(window->Destroy(), StatusNotLoaded);
        QCOMPARE(window->GetText(0, text), StatusNotLoaded);
        QCOMPARE(window->SetFontSize(0, size), StatusNotLoaded);
        window.reset();
        QVERIFY(form);  // freed by the event loop, not under a caller's feet
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
    }

    void CloseBoxAsksTheProgramAndKeepsTheWindow() {
        auto window = Load(form1::Description());
        window->Show();
        QWidget* form = LoadedForm("Form1");
        QVERIFY(!form->close());
        QCOMPARE(sink.closeCommands, 1);
        QVERIFY(form->isVisible());
    }

    void ShowBringsTheWindowToTheFront() {
        auto main = Load(form1::Description());
        auto about = Load(about::Description());
        main->Show();
        about->Show();
        QVERIFY(QTest::qWaitForWindowActive(LoadedForm("Text")));
        main->Show();
        QVERIFY(QTest::qWaitForWindowActive(LoadedForm("Form1")));
    }

    void PictureThatDoesNotDecodeFailsTheLoad() {
        static const unsigned char kNotAPicture[] = {'n', 'o', 'p', 'e'};
        static const EmbeddedFile kBroken{"Broken.jpg", kNotAPicture};
        WindowDescription broken = form1::Description();
        broken.Picture = {&kBroken, 648, 472};
        std::unique_ptr<NativeWindow> window;
        QVERIFY(Failed(system->Load(broken, sink, window)));
        QVERIFY(!window);
        QVERIFY(!LoadedForm("Form1"));
    }

    void IconCarriesEverySizeInItsMostColours() {
        auto window = Load(form1::Description());
        const QIcon icon = LoadedForm("Form1")->windowIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
        // The file holds 4-, 8- and 32-bit images of each size, in that order.
        const auto& bytes = pictures::AvodevivuIco.Bytes;
        QByteArray file(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&file);
        QImageReader reader(&buffer, "ico");
        QVERIFY(reader.jumpToImage(11));
        const QImage deepest16 = reader.read();
        QCOMPARE(icon.pixmap(16).toImage().convertToFormat(deepest16.format()), deepest16);
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::QtWindowTest)
#include "QtWindowTest.moc"
