#include "platform/qt/QtConversions.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

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
    return QByteArray(name.data() + dot + 1, static_cast<qsizetype>(name.size() - dot - 1)).toLower();
}

// Told the format, and kept from guessing it, a reader loads only the one decoder it needs.
std::unique_ptr<QImageReader> Reader(QBuffer& buffer, const EmbeddedFile& file) {
    auto reader = std::make_unique<QImageReader>(&buffer, FormatOf(file));
    reader->setAutoDetectImageFormat(false);
    return reader;
}

// The colour depth that entry `index` of an ICO directory declares; 0 where there is none.
int IconEntryDepth(std::span<const unsigned char> bytes, int index) {
    const std::size_t at = 6 + 16 * static_cast<std::size_t>(index) + 6;  // wBitCount
    return at + 2 <= bytes.size() ? bytes[at] | bytes[at + 1] << 8 : 0;
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

QPixmap DecodePicture(const EmbeddedFile* file) {
    if (!file) return {};
    QByteArray bytes = Bytes(*file);
    QBuffer buffer(&bytes);
    return QPixmap::fromImage(Reader(buffer, *file)->read());
}

QIcon DecodeIcon(const PictureDescription& icon) {
    QByteArray bytes = Bytes(*icon.File);
    QBuffer buffer(&bytes);
    const std::unique_ptr<QImageReader> reader = Reader(buffer, *icon.File);
    // Every image decodes to 32 bits; only the directory says which was drawn in more colours.
    std::map<int, std::pair<int, QImage>> deepestBySize;
    for (int i = 0; i < reader->imageCount() && reader->jumpToImage(i); ++i) {
        QImage image = reader->read();
        if (image.isNull()) continue;
        const int depth = IconEntryDepth(icon.File->Bytes, i);
        auto& kept = deepestBySize[image.width()];
        if (kept.second.isNull() || depth > kept.first) kept = {depth, std::move(image)};
    }
    QIcon result;
    for (const auto& [size, entry] : deepestBySize) result.addPixmap(QPixmap::fromImage(entry.second));
    return result;
}

}  // namespace avo::qt
