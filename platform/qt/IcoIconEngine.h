#pragma once

#include <QByteArray>
#include <QIconEngine>
#include <QImage>

#include <map>
#include <span>

// An icon over the bytes of an ICO file that decodes an image only when a size of it is
// first asked for. The window system asks for a few sizes when it shows the window; the
// file carries each size three times (4, 8 and 32 bits), so decoding all of them up front
// would spend most of the work on images nobody draws.
namespace avo::qt {

class IcoIconEngine final : public QIconEngine {
public:
    // The bytes must outlive the engine and its clones (the executable keeps them).
    explicit IcoIconEngine(std::span<const unsigned char> file);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;
    bool isNull() override;

private:
    // The directory entry of the image that serves `size`: the smallest at least as large,
    // else the largest; -1 when the file has no image.
    int EntryFor(const QSize& size) const;
    const QImage& Decoded(int entry);

    QByteArray file_;
    std::map<int, int> deepestEntryByWidth_;  // image width -> directory index
    std::map<int, QImage> decoded_;           // directory index -> image
};

}  // namespace avo::qt
