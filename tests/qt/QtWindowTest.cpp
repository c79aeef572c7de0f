#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QTest>

#include "EmbeddedPictures.h"
#include "QtProgram.h"
#include "platform/qt/IcoIconEngine.h"
#include "platform/qt/QtConversions.h"
#include "about/Text.h"
#include "reference/Form1.h"

namespace avo::testing {
namespace {

// The program's icon file: 4-, 8- and 32-bit images of each size, in that order, 48 to 16.
QByteArray IconFile() {
    const auto& bytes = pictures::AvodevivuIco.Bytes;
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// The icon's four sizes, 48 to 16, are the images Qt's own ICO reader reads from the
// directory entries that begin at `first`.
void ExpectSizesAsQtReadsThem(const QIcon& icon, QByteArray file, int first) {
    QBuffer buffer(&file);
    QImageReader reader(&buffer, "ico");
    for (int entry = first; entry < first + 4; ++entry) {
        QVERIFY(reader.jumpToImage(entry));
        const QImage expected = reader.read();
        const QImage shown = icon.pixmap(expected.size()).toImage();
        QCOMPARE(shown.convertToFormat(expected.format()), expected);
    }
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

// One NativeWindow on the Qt backend at a time, without the program's shell.
class QtWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<NativeWindow> Load(const WindowDescription& description) {
        std::unique_ptr<NativeWindow> window;
        if (Failed(system->Load(description, sink, window))) return nullptr;
        return window;
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

    // Leading and trailing blanks both count, so " L " sits exactly where "L" does in a
    // centred box, and a doubled space is wider than a single one; markup is not drawn.
    void EverySpaceTakesItsPlace() {
        auto window = Load(form1::Description());
        const ControlIndex label = AvodevivuProgram().Classes[0].IndexOf("Label1");
        auto inkOf = [&](const char* text) {
            window->SetText(label, text);
            return InkBounds(ControlOf<QWidget>("Form1", "Label1"));
        };
        QCOMPARE(inkOf(" L "), inkOf("L"));
        QVERIFY(inkOf("  L").center().x() > inkOf("L").center().x());
        QVERIFY(inkOf("L  ").center().x() < inkOf("L").center().x());
        QVERIFY(inkOf("a  b").width() > inkOf("a b").width());
        window->SetText(label, "<b>x</b>");
        QCOMPARE(ControlOf<QLabel>("Form1", "Label1")->textFormat(), Qt::PlainText);
    }

    // Input that still reaches the destroyed widget reports nothing.
    void DestroyedWindowIsSilentAndFreedByTheEventLoop() {
        auto window = Load(about::Description());
        QCOMPARE(window->Show(), StatusOk);
        QPointer<qt::FormWidget> form = LoadedForm("Text");
        QCOMPARE(window->Destroy(), StatusOk);
        QTest::mouseClick(form->findChild<QWidget*>("Picture1"), Qt::LeftButton);
        QTest::keyClick(form->findChild<QWidget*>("Picture1"), Qt::Key_Space);
        form->close();
        QVERIFY(sink.Received.empty());
        QCOMPARE(sink.CloseCommands, 0);
        window.reset();
        QVERIFY(form);  // freed by the event loop, not under a caller's feet
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
    }

    // A program that cannot be started is reported with the reason, found as execvp would
    // find it: not found, or not allowed to run. The report names what was looked for.
    void StartProcessSaysWhyItCannotStart() {
        QTemporaryDir emptyPath;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", emptyPath.path().toUtf8());
        std::uint32_t pid = 0;
        constexpr std::string_view kSite = "explorer.exe http://a.example";
        const Status noOpener = system->StartProcess(kSite, 1, pid);
        const std::string noOpenerNamed = system->ProgramStartedBy(kSite);
        QFile notAProgram(emptyPath.filePath("xdg-open"));  // there, but may not be run
        QVERIFY(notAProgram.open(QIODevice::WriteOnly));
        notAProgram.close();
        const Status notAllowed = system->StartProcess(kSite, 1, pid);
        const std::string notAllowedNamed = system->ProgramStartedBy(kSite);
        qputenv("PATH", oldPath);
        QCOMPARE(noOpener, StatusFileNotFound);
        QCOMPARE(noOpenerNamed, "xdg-open");
        QCOMPARE(notAllowed, StatusAccessDenied);
        QCOMPARE(notAllowedNamed, notAProgram.fileName().toStdString());
        QCOMPARE(system->StartProcess(emptyPath.filePath("missing").toStdString(), 1, pid),
                 StatusFileNotFound);
        QCOMPARE(system->StartProcess(notAProgram.fileName().toStdString(), 1, pid),
                 StatusAccessDenied);
    }

    // Each face comes out in one installed family, chosen by the program and not by the font
    // system's guesses; the .deb depends on the packages of exactly these (check_deb.sh).
    void FacesResolveToInstalledFamilies() {
        QCOMPARE(qt::InstalledFamily("MS Sans Serif"), "Liberation Sans");
        QCOMPARE(qt::InstalledFamily("Arial"), "Liberation Sans");
        QCOMPARE(qt::InstalledFamily("Tahoma"), "DejaVu Sans");
        QCOMPARE(qt::InstalledFamily("DejaVu Serif"), "DejaVu Serif");  // installed: as asked
        QCOMPARE(qt::InstalledFamily("No Such Face 2010"), "Liberation Sans");  // the window's face
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
        ExpectSizesAsQtReadsThem(icon, IconFile(), 8);
    }

    // Without 32-bit images the engine hands the deepest ones to Qt's reader.
    void IconOfFewerColoursGoesThroughQtsReader() {
        QByteArray file = IconFile();
        file[4] = 8;  // the directory ends before the 32-bit images
        const QIcon icon(
            new qt::IcoIconEngine({reinterpret_cast<const unsigned char*>(file.constData()),
                                   static_cast<std::size_t>(file.size())}));
        ExpectSizesAsQtReadsThem(icon, file, 4);
    }
};

}  // namespace avo::testing

QTEST_MAIN(avo::testing::QtWindowTest)
#include "QtWindowTest.moc"
