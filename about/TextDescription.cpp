#include "EmbeddedPictures.h"
#include "about/Text.h"

namespace avo::about {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);

// clang-format off
constexpr ControlDescription PlainLabel(std::string_view name, TwipsRect bounds, int tabIndex,
                                        std::string_view text) {
    return {.Kind = ControlKind::Label, .Name = name, .Bounds = bounds, .TabIndex = tabIndex,
            .Text = text, .ForeColour = kWhite, .Transparent = true};
}

constexpr ControlDescription CaptionTimer(std::string_view name, bool enabled) {
    return {.Kind = ControlKind::Timer, .Name = name, .IntervalMs = kCaptionTickMs,
            .Enabled = enabled};
}

// Stored order, which is also the order in which the controls are created.
constexpr ControlDescription kControls[] = {
    {.Kind = ControlKind::PictureBox, .Name = "Picture1", .Bounds = {7920, 4800, 255, 255},
     .TabIndex = 2, .AccessibleName = "Çıkış", .BackColour = Rgb(0, 0, 64),
     .Picture = {&pictures::Picture1ExitJpg, 16, 16, &pictures::Picture1Exit2xJpg}},
    CaptionTimer("Timer2", true),
    CaptionTimer("Timer1", false),
    PlainLabel("Label3", {3240, 4560, 2415, 255}, 3, "tolvren@kavrelonix.example"),
    PlainLabel("Label2", {2520, 4080, 3975, 255}, 1,
               "Tolvren Asukay tarafından Kavrelonix için yazılmıştır"),
    {.Kind = ControlKind::Label, .Name = "Label1", .Bounds = {2400, 2160, 4335, 1095},
     .TabIndex = 0, .Text = "Kavrelonix", .ForeColour = kWhite, .Transparent = true,
     .TextAlignment = Alignment::Centre,
     .Font = FontDescriptor{.Face = "Arial", .Size = kCaptionStartSize, .Weight = 400,
                            .Charset = kCharsetWestern}},
};
// clang-format on

}  // namespace

const WindowDescription& Description() {
    static const WindowDescription description{
        .Name = "Text",
        .Caption = "Hakkında-Drusenkal",
        .Border = BorderStyle::None,
        .ClientWidth = 8400,
        .ClientHeight = 5235,
        .Position = StartUpPosition::CentreOwner,
        .BackColour = Rgb(0, 0, 0),
        .Picture = {&pictures::TextBackgroundJpg, 558, 352, &pictures::TextBackground2xJpg},
        .Controls = kControls,
    };
    return description;
}

}  // namespace avo::about
