#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <memory>

#include "platform/WindowDescription.h"

namespace avo::qt {

// The picture to draw on a device with this pixel ratio, at the picture's logical size: the
// 1x picture at 100 %, the 2x picture at 200 %, and at any other ratio the 2x picture scaled
// smoothly to the device's pixels (down from 125 % to 175 %), so that every ratio is as
// sharp as the screen allows. Without a 2x picture the 1x one serves every ratio.
QPixmap PictureForRatio(const QPixmap& oneX, const QPixmap& twoX, qreal ratio);

// A described picture for the windows to draw at whatever ratio the screen they are on has
// now. The 1x picture is decoded at once; the 2x one the first time a screen asks for it, so
// that a 100 % screen never spends the time. Copies share what has been decoded.
class ScaledPicture {
public:
    ScaledPicture() = default;
    explicit ScaledPicture(const PictureDescription& picture);

    // True when a picture was described but its 1x file does not decode. A 2x file that does
    // not decode leaves the 1x picture to serve every ratio.
    bool Failed() const { return failed_; }
    bool IsNull() const { return oneX_.isNull(); }
    QSize LogicalSize() const { return oneX_.size(); }

    // The last fractional result is kept: a window repaints at the same ratio many times.
    QPixmap ForRatio(qreal ratio) const;
    // For a push button's face: drawn, like the rest, from the picture for the ratio.
    QIcon Icon() const;

private:
    struct Decoded {
        const EmbeddedFile* File2x = nullptr;
        QPixmap TwoX;  // null until first asked for
        QPixmap Scaled;
        qreal ScaledRatio = 0;
    };
    const QPixmap& TwoX() const;

    QPixmap oneX_;
    bool failed_ = false;
    std::shared_ptr<Decoded> decoded_ = std::make_shared<Decoded>();
};

}  // namespace avo::qt
