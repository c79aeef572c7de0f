#include "platform/qt/ScaledPicture.h"

#include <QIconEngine>
#include <QPainter>

#include <cmath>
#include <utility>

#include "platform/WindowDefaults.h"
#include "platform/qt/QtConversions.h"

namespace avo::qt {

QPixmap PictureForRatio(const QPixmap& oneX, const QPixmap& twoX, qreal ratio) {
    if (!DrawsFromThe2xFile(ratio) || twoX.isNull()) return oneX;
    QPixmap result = twoX;
    if (ratio != 2.0) {
        const QSize pixels(static_cast<int>(std::lround(oneX.width() * ratio)),
                           static_cast<int>(std::lround(oneX.height() * ratio)));
        result = twoX.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    // The screen's own ratio, so that each of the picture's pixels lands on one of the
    // screen's; a rounded-up last column or row falls outside, as at 100 %.
    result.setDevicePixelRatio(ratio);
    return result;
}

ScaledPicture::ScaledPicture(const PictureDescription& picture) {
    if (!picture) return;
    oneX_ = DecodePicture(picture.File);
    failed_ = oneX_.isNull();
    decoded_->File2x = picture.File2x;
}

const QPixmap& ScaledPicture::TwoX() const {
    if (decoded_->File2x) {
        decoded_->TwoX = DecodePicture(std::exchange(decoded_->File2x, nullptr));
    }
    return decoded_->TwoX;
}

QPixmap ScaledPicture::ForRatio(qreal ratio) const {
    if (ratio <= 1.0) return oneX_;
    if (ratio == 2.0 || TwoX().isNull()) return PictureForRatio(oneX_, TwoX(), ratio);
    if (ratio != decoded_->ScaledRatio) {
        decoded_->Scaled = PictureForRatio(oneX_, TwoX(), ratio);
        decoded_->ScaledRatio = ratio;
    }
    return decoded_->Scaled;
}

namespace {

// Gives a button's style the picture for the ratio it paints at. QIcon's own engine would
// enlarge the 1x picture at 150 %, where the 2x one scaled down is sharper.
class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(ScaledPicture picture) : picture_(std::move(picture)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, picture_.ForRatio(painter->device()->devicePixelRatioF()));
    }
    QPixmap pixmap(const QSize&, QIcon::Mode, QIcon::State) override {
        return picture_.ForRatio(1.0);
    }
    QPixmap scaledPixmap(const QSize&, QIcon::Mode, QIcon::State, qreal scale) override {
        return picture_.ForRatio(scale);
    }
    QSize actualSize(const QSize&, QIcon::Mode, QIcon::State) override {
        return picture_.LogicalSize();
    }
    QIconEngine* clone() const override { return new PictureIconEngine(picture_); }

private:
    ScaledPicture picture_;
};

}  // namespace

QIcon ScaledPicture::Icon() const { return QIcon(new PictureIconEngine(*this)); }

}  // namespace avo::qt
