#include "platform/qt/QtConversions.h"

#include "platform/qt/IcoIconEngine.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <memory>

namespace avo::qt {
namespace {

// The bytes stay where the executable keeps them; nothing is copied before decoding.
QByteArray Bytes(const PictureDescription& picture) {
    const auto bytes = picture.File->Bytes;
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));
}

// The format that the file's extension names.
QByteArray FormatOf(const PictureDescription& picture) {
    const std::string_view name = picture.File->Name;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return QByteArray(name.data() + dot + 1, static_cast<qsizetype>(name.size() - dot - 1)).toLower();
}

// Told the format, and kept from guessing it, a reader loads only the one decoder it needs.
std::unique_ptr<QImageReader> Reader(QBuffer& buffer, const PictureDescription& picture) {
    auto reader = std::make_unique<QImageReader>(&buffer, FormatOf(picture));
    reader->setAutoDetectImageFormat(false);
    return reader;
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
        case 4: return QPalette::Window;            // menu
        case 5: return QPalette::Base;              // window (text field) background
        case 6: return QPalette::Shadow;            // window frame
        case 7: return QPalette::WindowText;        // menu text
        case 8: return QPalette::Text;              // window text
        case 13: return QPalette::Highlight;
        case 14: return QPalette::HighlightedText;
        case 15: return QPalette::Button;           // button face
        case 16: return QPalette::Dark;             // button shadow
        case 17: return QPalette::PlaceholderText;  // grey text
        case 18: return QPalette::ButtonText;
        case 20: return QPalette::Light;            // button highlight
        case 21: return QPalette::Shadow;           // 3D dark shadow
        case 22: return QPalette::Midlight;         // 3D light
        case 23: return QPalette::ToolTipText;
        case 24: return QPalette::ToolTipBase;
        case 26: return QPalette::Link;             // hot-tracked item
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
    QFont result(ToQString(font.Face));
    result.setPointSizeF(font.Size.ToDouble());
    result.setWeight(static_cast<QFont::Weight>(font.Weight));
    result.setItalic(font.Italic);
    result.setUnderline(font.Underline);
    result.setStrikeOut(font.Strikethrough);
    return result;
}

void InstallFontSubstitutes() {
    // MS Sans Serif and Arial share Helvetica's proportions (Liberation Sans keeps Arial's
    // metrics, so texts wrap where they did); Tahoma is a narrow cousin of Verdana, whose
    // Linux counterpart is DejaVu Sans.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

QPixmap DecodePicture(const PictureDescription& picture) {
    QByteArray bytes = Bytes(picture);
    QBuffer buffer(&bytes);
    return QPixmap::fromImage(Reader(buffer, picture)->read());
}

QIcon DecodeIcon(const PictureDescription& icon) {
    return QIcon(new IcoIconEngine(icon.File->Bytes));
}

}  // namespace avo::qt
