#include "platform/PointSize.h"

#include <cmath>
#include <cstdlib>

namespace avo {

PointSize PointSize::FromDouble(double points) {
    return PointSize(static_cast<std::int64_t>(std::llround(points * kScale)));
}

std::string PointSize::ToString() const {
    const std::int64_t magnitude = std::llabs(count_);
    std::string text = (count_ < 0 ? "-" : "") + std::to_string(magnitude / kScale);
    std::int64_t fraction = magnitude % kScale;
    if (fraction == 0) return text;
    std::string digits = std::to_string(fraction + kScale).substr(1);  // keeps leading zeros
    digits.erase(digits.find_last_not_of('0') + 1);
    return text + "." + digits;
}

}  // namespace avo
