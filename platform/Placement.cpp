#include "platform/Placement.h"

#include <algorithm>

namespace avo {

std::optional<std::size_t> ChooseOwner(std::span<const PlacementCandidate> others) {
    // The iterator form: the web build's standard library has no ranges algorithms yet.
    const auto active =
        std::find_if(others.begin(), others.end(),
                     [](const PlacementCandidate& other) { return other.Active && other.Shown; });
    const auto chosen =
        active != others.end()
            ? active
            : std::find_if(others.begin(), others.end(),
                           [](const PlacementCandidate& other) { return other.Shown; });
    if (chosen == others.end()) return std::nullopt;
    return static_cast<std::size_t>(chosen - others.begin());
}

PixelRect InitialPlacement(StartUpPosition position, int width, int height,
                           const PixelRect& workArea, const std::optional<PixelRect>& owner) {
    const PixelRect& area = position == StartUpPosition::CentreOwner && owner ? *owner : workArea;
    const int left = area.Left + (area.Width - width) / 2;
    const int top = area.Top + (area.Height - height) / 2;
    return {std::max(left, workArea.Left), std::max(top, workArea.Top), width, height};
}

}  // namespace avo
