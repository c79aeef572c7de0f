#include "EmbeddedPictures.h"
#include "reference/CommandCatalogue.h"
#include "reference/Form1.h"

namespace avo::form1 {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kDarkRed = Rgb(128, 0, 0);

// clang-format off
constexpr FontDescriptor kBoxFont{
    .Face = "MS Sans Serif", .Size = PointSize::FromTenThousandths(97500),
    .Weight = 400, .Charset = kCharsetTurkish};
constexpr FontDescriptor kHeadingFont{
    .Face = "Tahoma", .Size = PointSize::FromTenThousandths(97500),
    .Weight = 700, .Italic = true, .Charset = kCharsetTurkish};
constexpr FontDescriptor kMakerFont{
    .Face = "Tahoma", .Size = PointSize::Whole(18), .Weight = 700, .Italic = true,
    .Charset = kCharsetTurkish};

constexpr ControlDescription OutputBox(std::string_view name, TwipsRect bounds, int tabIndex,
                                       std::string_view heading) {
    return {.Kind = ControlKind::Label, .Name = name, .Bounds = bounds, .TabIndex = tabIndex,
            .AccessibleName = heading, .ForeColour = kWhite, .BackColour = kDarkRed,
            .Border = BorderStyle::FixedSingle, .TextAlignment = Alignment::Centre,
            .Font = kBoxFont};
}

constexpr ControlDescription Caption(std::string_view name, TwipsRect bounds, int tabIndex,
                                     std::string_view text, const FontDescriptor& font) {
    return {.Kind = ControlKind::Label, .Name = name, .Bounds = bounds, .TabIndex = tabIndex,
            .Text = text, .ForeColour = kWhite, .Transparent = true, .Font = font};
}

constexpr ControlDescription PictureButton(std::string_view name, Twips top, int tabIndex,
                                           std::string_view word, PictureDescription face,
                                           std::string_view toolTip = {}) {
    return {.Kind = ControlKind::PictureButton, .Name = name,
            .Bounds = {2880, top, 1935, 375}, .TabIndex = tabIndex, .ToolTip = toolTip,
            .AccessibleName = word, .Picture = face};
}

constexpr ControlDescription kControls[] = {
    {.Kind = ControlKind::ListBox, .Name = "List1", .Bounds = {840, 3000, 1815, 3180},
     .TabIndex = 0, .AccessibleName = "Komutlar", .ForeColour = kWhite, .BackColour = kDarkRed,
     .Rows = CommandListRows},
    OutputBox("Label1", {5160, 3120, 3735, 1095}, 1, "KISAYOL"),
    Caption("Label2", {6600, 2520, 975, 375}, 2, "KISAYOL", kHeadingFont),
    OutputBox("Label3", {5160, 5040, 3735, 1095}, 3, "İŞLEVİ"),
    Caption("Label4", {6720, 4560, 855, 375}, 4, "İŞLEVİ", kHeadingFont),
    Caption("Label5", {6360, 720, 2655, 495}, 5, "Kavrelonix", kMakerFont),
    PictureButton("Command1", 4560, 6, "Göster",
                  {&pictures::Command1FaceJpg, 123, 21, &pictures::Command1Face2xJpg},
                  "Yandan komut seçerek göster butonuna basınız."),
    PictureButton("Command2", 5160, 7, "Hakkında",
                  {&pictures::Command2FaceJpg, 123, 22, &pictures::Command2Face2xJpg}),
    PictureButton("Command3", 5760, 8, "Çıkış",
                  {&pictures::Command3FaceJpg, 124, 21, &pictures::Command3Face2xJpg}),
};
// clang-format on

}  // namespace

const WindowDescription& Description() {
    static const WindowDescription description{
        .Name = "Form1",
        .Caption = "   Kavrelonix   Rivuvuv Avodevivu 2010",
        .Border = BorderStyle::FixedSingle,
        .ClientWidth = 9735,
        .ClientHeight = 7065,
        .Position = StartUpPosition::CentreScreen,
        .Picture = {&pictures::Form1BackgroundJpg, 648, 472, &pictures::Form1Background2xJpg},
        .Icon = {&pictures::AvodevivuIco, 48, 48},
        .Controls = kControls,
    };
    return description;
}

}  // namespace avo::form1
