#pragma once

#include <optional>
#include <span>

#include "platform/WindowDescription.h"

namespace avo {

// A rectangle in device pixels, for placement.
struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One of the program's other loaded windows, as a window being placed sees it.
struct PlacementCandidate {
    PixelRect Frame;
    bool Active = false;
    bool Shown = false;  // visible and not minimised
};

// The window that a window centred on its owner opens over: the active one of the other
// windows when it is shown, else the first shown one; none when no other window is on the
// screen. A hidden or minimised window is nobody's owner: its rectangle is not where the
// user is looking.
// Gives the candidate's position in `others`.
std::optional<std::size_t> ChooseOwner(std::span<const PlacementCandidate> others);

// Where a window of this outer size goes when it opens: centred over `owner` when the window
// asks to be centred on its owner and there is one, else centred on the screen's work area.
// Its top-left corner never lies above or left of the work area, so a window larger than the
// work area keeps its title bar (a borderless one its top-left corner) on the screen.
PixelRect InitialPlacement(StartUpPosition position, int width, int height,
                           const PixelRect& workArea, const std::optional<PixelRect>& owner);

}  // namespace avo
