#include "platform/qt/QtConversions.h"

#include "platform/qt/IcoIconEngine.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFontDatabase>
#include <QImageReader>

#include <array>
#include <map>
#include <memory>

namespace avo::qt {
namespace {

// The bytes stay where the executable keeps them; nothing is copied before decoding.
QByteArray Bytes(const EmbeddedFile& file) {
    const auto bytes = file.Bytes;
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));
}

// The format that the file's extension names.
QByteArray FormatOf(const EmbeddedFile& file) {
    const std::string_view name = file.Name;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return QByteArray(name.data() + dot + 1, static_cast<qsizetype>(name.size() - dot - 1))
        .toLower();
}

// Told the format, and kept from guessing it, a reader loads only the one decoder it needs.
std::unique_ptr<QImageReader> Reader(QBuffer& buffer, const EmbeddedFile& file) {
    auto reader = std::make_unique<QImageReader>(&buffer, FormatOf(file));
    reader->setAutoDetectImageFormat(false);
    return reader;
}

// The faces the windows ask for, each with its look-alikes in order of preference. MS Sans
// Serif and Arial share Helvetica's proportions (Liberation Sans keeps Arial's metrics, so
// texts wrap where they did); Tahoma is a narrow cousin of Verdana, whose Linux counterpart
// is DejaVu Sans. The first face is the one that stands in for any face not installed.
struct LookAlikes {
    std::string_view Face;
    std::array<const char*, 2> Families;
};
constexpr LookAlikes kLookAlikes[] = {
    {"MS Sans Serif", {"Liberation Sans", "DejaVu Sans"}},
    {"Arial", {"Liberation Sans", "DejaVu Sans"}},
    {"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
};

bool IsInstalled(const QStringList& installed, const QString& family) {
    return installed.contains(family, Qt::CaseInsensitive);
}

// The first look-alike that is installed; failing all, the face itself, for Qt to match.
QString ChooseFamily(const QStringList& installed, std::string_view face) {
    for (const LookAlikes& entry : kLookAlikes) {
        if (entry.Face != face) continue;
        for (const char* family : entry.Families) {
            if (IsInstalled(installed, QString::fromLatin1(family)))
                return QString::fromLatin1(family);
        }
    }
    const QString asked = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    if (IsInstalled(installed, asked) || face == kLookAlikes[0].Face) return asked;
    return ChooseFamily(installed, kLookAlikes[0].Face);
}

}  // namespace

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QRect ToPixels(const TwipsRect& bounds) {
    return {TwipsToPixels(bounds.Left), TwipsToPixels(bounds.Top), TwipsToPixels(bounds.Width),
            TwipsToPixels(bounds.Height)};
}

QPalette::ColorRole SystemColourRole(std::uint8_t index) {
    switch (index) {
        case 4: return QPalette::Window;      // menu
        case 5: return QPalette::Base;        // window (text field) background
        case 6: return QPalette::Shadow;      // window frame
        case 7: return QPalette::WindowText;  // menu text
        case 8: return QPalette::Text;        // window text
        case 13: return QPalette::Highlight;
        case 14: return QPalette::HighlightedText;
        case 15: return QPalette::Button;           // button face
        case 16: return QPalette::Dark;             // button shadow
        case 17: return QPalette::PlaceholderText;  // grey text
        case 18: return QPalette::ButtonText;
        case 20: return QPalette::Light;     // button highlight
        case 21: return QPalette::Shadow;    // 3D dark shadow
        case 22: return QPalette::Midlight;  // 3D light
        case 23: return QPalette::ToolTipText;
        case 24: return QPalette::ToolTipBase;
        case 26: return QPalette::Link;  // hot-tracked item
        default: return QPalette::Window;
    }
}

QColor ToQColor(Colour colour) {
    if (IsSystemColour(colour)) {
        return QApplication::palette().color(SystemColourRole(colour & 0xFF));
    }
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// The character set of a descriptor needs nothing here: Qt draws every text as Unicode.
QFont ToQFont(const FontDescriptor& font) {
    QFont result(InstalledFamily(font.Face));
    result.setPointSizeF(font.Size.ToDouble());
    result.setWeight(static_cast<QFont::Weight>(font.Weight));
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    result.setStrikeOut(font.Strikethrough);
    return result;
}

QString InstalledFamily(std::string_view face) {
    // Asked from the GUI thread only, and for a handful of faces.
    static std::map<std::string, QString, std::less<>> chosen;
    if (const auto found = chosen.find(face); found != chosen.end()) return found->second;
    const QString family = ChooseFamily(QFontDatabase::families(), face);
    chosen.emplace(std::string(face), family);
    return family;
}

QPixmap DecodePicture(const EmbeddedFile* file) {
    if (!file) return {};
    QByteArray bytes = Bytes(*file);
    QBuffer buffer(&bytes);
    return QPixmap::fromImage(Reader(buffer, *file)->read());
}

QIcon DecodeIcon(const PictureDescription& icon) {
    return QIcon(new IcoIconEngine(icon.File->Bytes));
}

}  // namespace avo::qt
