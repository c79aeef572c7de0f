#pragma once

#include <optional>
#include <string_view>

#include "platform/WindowSystem.h"

namespace avo {

// An output box: a label named by a heading, whose text is what the box shows.
bool IsNamedByHeading(const ControlDescription& control);

// What a screen reader calls a control: the words its description gives it where its face
// does not say them (picture buttons and boxes, the list, the output boxes), else its text.
std::string_view AccessibleNameOf(const ControlDescription& control);

// The label that shows an output box's heading, which labels the box for screen readers;
// none for any other control.
std::optional<ControlIndex> HeadingOf(const WindowDescription& window, ControlIndex box);

}  // namespace avo
