#include "platform/qt/IcoIconEngine.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace avo::qt {
namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;

int Word(std::span<const unsigned char> bytes, std::size_t at) {
    return at + 2 <= bytes.size() ? bytes[at] | bytes[at + 1] << 8 : 0;
}

std::size_t DoubleWord(std::span<const unsigned char> bytes, std::size_t at) {
    const auto low = static_cast<std::size_t>(Word(bytes, at));
    const auto high = static_cast<std::size_t>(Word(bytes, at + 2));
    return low | high << 16;
}

// A 32-bit image as icon files keep it: a 40-byte BITMAPINFOHEADER (its height counts the
// mask too), rows of blue, green, red and alpha from the bottom up, then a 1-bit mask that
// the alpha makes redundant. Read here, the icon needs no image plugin loaded before the
// window first shows; null for any other kind of image, which Qt's ICO reader decodes.
QImage ReadBgraImage(std::span<const unsigned char> file, std::size_t entry) {
    const std::size_t at = DoubleWord(file, entry + 12);
    constexpr std::size_t kInfoBytes = 40;
    if (at > file.size() || file.size() - at < kInfoBytes) return {};
    const std::size_t width = DoubleWord(file, at + 4);
    const std::size_t height = DoubleWord(file, at + 8) / 2;
    const bool plain = DoubleWord(file, at) == kInfoBytes && Word(file, at + 14) == 32 &&
                       DoubleWord(file, at + 16) == 0 && DoubleWord(file, at + 32) == 0;
    if (!plain || width == 0 || height == 0 || width > 256 || height > 256) return {};
    const std::size_t rowBytes = width * 4;
    if (file.size() - at - kInfoBytes < rowBytes * height) return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
    const unsigned char* pixel = file.data() + at + kInfoBytes;
    for (int y = image.height() - 1; y >= 0; --y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, pixel += 4)
            row[x] = qRgba(pixel[2], pixel[1], pixel[0], pixel[3]);
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

IcoIconEngine::IcoIconEngine(std::span<const unsigned char> file)
    : file_(QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                    static_cast<qsizetype>(file.size()))) {
    // Reading the directory decodes nothing: it names each image's width and colour depth.
    const int count = Word(file, 4);
    std::map<int, int> depthByWidth;
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderBytes + kEntryBytes * static_cast<std::size_t>(i);
        if (entry + kEntryBytes > file.size()) break;
        const int width = file[entry] == 0 ? 256 : file[entry];
        const int depth = Word(file, entry + 6);
        auto [kept, inserted] = depthByWidth.try_emplace(width, depth);
        if (inserted || depth > kept->second) {
            kept->second = depth;
            deepestEntryByWidth_[width] = i;
        }
    }
}

int IcoIconEngine::EntryFor(const QSize& size) const {
    if (deepestEntryByWidth_.empty()) return -1;
    const auto atLeast = deepestEntryByWidth_.lower_bound(size.width());
    return atLeast != deepestEntryByWidth_.end() ? atLeast->second
                                                 : deepestEntryByWidth_.rbegin()->second;
}

const QImage& IcoIconEngine::Decoded(int entry) {
    auto [image, inserted] = decoded_.try_emplace(entry);
    if (!inserted) return image->second;
    const std::span<const unsigned char> bytes(
        reinterpret_cast<const unsigned char*>(file_.constData()),
        static_cast<std::size_t>(file_.size()));
    image->second =
        ReadBgraImage(bytes, kHeaderBytes + kEntryBytes * static_cast<std::size_t>(entry));
    if (image->second.isNull()) {
        QBuffer buffer(&file_);
        QImageReader reader(&buffer, "ico");
        reader.setAutoDetectImageFormat(false);
        if (reader.jumpToImage(entry)) image->second = reader.read();
    }
    return image->second;
}

QPixmap IcoIconEngine::pixmap(const QSize& size, QIcon::Mode, QIcon::State) {
    const int entry = EntryFor(size);
    if (entry < 0) return {};
    const QImage& image = Decoded(entry);
    if (image.isNull() || (image.width() <= size.width() && image.height() <= size.height())) {
        return QPixmap::fromImage(image);
    }
    return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void IcoIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
}

QSize IcoIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const int entry = EntryFor(size);
    if (entry < 0) return {};
    for (const auto& [width, index] : deepestEntryByWidth_) {
        if (index == entry) return QSize(width, width).boundedTo(size);
    }
    return {};
}

QList<QSize> IcoIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const auto& [width, index] : deepestEntryByWidth_) sizes.append(QSize(width, width));
    return sizes;
}

QString IcoIconEngine::key() const { return QStringLiteral("avo-ico"); }

QIconEngine* IcoIconEngine::clone() const { return new IcoIconEngine(*this); }

bool IcoIconEngine::isNull() { return deepestEntryByWidth_.empty(); }

}  // namespace avo::qt
