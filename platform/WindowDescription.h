#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/EmbeddedFile.h"
#include "platform/PointSize.h"

namespace avo {

// The fixed data from which a window is built every time it is loaded. Nothing here is
// changed at run time; a property that a description leaves out takes the platform's default.

using Twips = std::int32_t;  // 1/1440 inch; 15 twips are one pixel at 96 DPI
inline constexpr Twips kTwipsPerPixel = 15;
constexpr int TwipsToPixels(Twips twips) { return twips / kTwipsPerPixel; }

// 0x00BBGGRR, red in the low byte; 0x800000nn names system colour nn.
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red | (green << 8) | (blue << 16);
}
constexpr Colour SystemColour(std::uint8_t index) { return 0x80000000u | index; }
constexpr bool IsSystemColour(Colour colour) { return (colour & 0x80000000u) != 0; }
constexpr std::uint8_t RedOf(Colour colour) { return colour & 0xFF; }
constexpr std::uint8_t GreenOf(Colour colour) { return (colour >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(Colour colour) { return (colour >> 16) & 0xFF; }
inline constexpr Colour kButtonFace = SystemColour(15);  // COLOR_BTNFACE
inline constexpr Colour kButtonText = SystemColour(18);  // COLOR_BTNTEXT
inline constexpr Colour kWindowBackground = SystemColour(5);
inline constexpr Colour kWindowText = SystemColour(8);

inline constexpr int kCharsetWestern = 0;
inline constexpr int kCharsetTurkish = 162;

struct FontDescriptor {
    std::string_view Face;
    PointSize Size;
    int Weight = 400;  // 400 regular, 700 bold
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int Charset = kCharsetWestern;
};

// A picture with the size it is drawn at, in pixels at 96 DPI; File is null where there is
// none. File2x, where there is one, is the same picture drawn at twice that size, for screens
// that scale by more than 100 %.
struct PictureDescription {
    const EmbeddedFile* File = nullptr;
    int Width = 0;
    int Height = 0;
    const EmbeddedFile* File2x = nullptr;
    explicit operator bool() const { return File != nullptr; }
};

struct TwipsRect {
    Twips Left = 0;
    Twips Top = 0;
    Twips Width = 0;
    Twips Height = 0;
};

enum class ControlKind { ListBox, Label, PictureButton, PictureBox, Timer };
enum class Alignment { Left, Centre, Right };
enum class BorderStyle { None, FixedSingle };
enum class StartUpPosition { CentreScreen, CentreOwner };

// The interface name that errors and diagnostics give for a control kind.
const char* InterfaceName(ControlKind kind);

struct ControlDescription {
    ControlKind Kind = ControlKind::Label;
    std::string_view Name;
    TwipsRect Bounds{};
    int TabIndex = -1;  // -1 for controls without a place in the tab order (timers)
    std::string_view Text{};
    std::string_view ToolTip{};
    // What a screen reader calls the control where its text does not say it (picture buttons,
    // output boxes named by their headings).
    std::string_view AccessibleName{};
    Colour ForeColour = kButtonText;
    Colour BackColour = kButtonFace;
    bool Transparent = false;  // labels: drawn over whatever lies behind them
    BorderStyle Border = BorderStyle::None;
    Alignment TextAlignment = Alignment::Left;
    std::optional<FontDescriptor> Font{};  // none: the window's default font
    PictureDescription Picture{};
    std::span<const std::string_view> Rows{};  // list boxes: the initial rows, in order
    int IntervalMs = 0;                        // timers
    bool Enabled = true;                       // timers: running at load
};

struct WindowDescription {
    std::string_view Name;
    std::string_view Caption;
    BorderStyle Border = BorderStyle::FixedSingle;
    Twips ClientWidth = 0;
    Twips ClientHeight = 0;
    StartUpPosition Position = StartUpPosition::CentreScreen;
    Colour BackColour = kButtonFace;
    PictureDescription Picture{};
    PictureDescription Icon{};
    std::span<const ControlDescription> Controls{};
};

}  // namespace avo
