#include "platform/win32/DeviceUnits.h"

#include <cstdint>

namespace avo::win32 {
namespace {

constexpr std::int64_t kTwipsPerInch = 1440;
constexpr std::int64_t kPointsPerInch = 72;

// a * b / c rounded to the nearest integer, halves away from zero, for c > 0.
std::int64_t MultiplyDivideRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t product = a * b;
    return product >= 0 ? (2 * product + c) / (2 * c) : -((-2 * product + c) / (2 * c));
}

}  // namespace

int PixelsFromTwips(Twips twips, int dpi) {
    return static_cast<int>(MultiplyDivideRounded(twips, dpi, kTwipsPerInch));
}

int PixelsFromPicturePixels(int pixels, int dpi) {
    return static_cast<int>(MultiplyDivideRounded(pixels, dpi, kDefaultDpi));
}

int PixelsFromPoints(PointSize size, int dpi) {
    return static_cast<int>(
        MultiplyDivideRounded(size.TenThousandths(), dpi, kPointsPerInch * PointSize::kScale));
}

PointSize PointsFromPixels(int pixels, int dpi) {
    return PointSize::FromTenThousandths(
        MultiplyDivideRounded(pixels, kPointsPerInch * PointSize::kScale, dpi));
}

}  // namespace avo::win32
