#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include "platform/WindowDescription.h"

namespace avo::qt {

// The picture to draw on a device with this pixel ratio, at the picture's logical size: the
// 1x picture at 100 %, the 2x picture from 200 % up, and between them the 2x picture scaled
// down smoothly to the device's pixels, so that 125 % to 175 % are as sharp as the screen
// allows. Without a 2x picture the 1x one serves every ratio.
QPixmap PictureForRatio(const QPixmap& oneX, const QPixmap& twoX, qreal ratio);

// A described picture decoded at both sizes once, for the windows to draw at whatever
// ratio the screen they are on has now.
class ScaledPicture {
public:
    ScaledPicture() = default;
    explicit ScaledPicture(const PictureDescription& picture);

    // True when a picture was described but one of its files does not decode.
    bool Failed() const { return failed_; }
    bool IsNull() const { return oneX_.isNull(); }
    QSize LogicalSize() const { return oneX_.size(); }

    // The last fractional result is kept: a window repaints at the same ratio many times.
    QPixmap ForRatio(qreal ratio) const;
    // For a push button's face: drawn, like the rest, from the picture for the ratio.
    QIcon Icon() const;

private:
    QPixmap oneX_;
    QPixmap twoX_;
    bool failed_ = false;
    mutable QPixmap scaled_;
    mutable qreal scaledRatio_ = 0;
};

}  // namespace avo::qt
