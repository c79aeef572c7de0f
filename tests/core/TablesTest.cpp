#include <gtest/gtest.h>

#include <algorithm>

#include "app/Program.h"
#include "platform/PictureHeader.h"

namespace avo::testing {
namespace {

TEST(ProgramTables, AreSound) {
    const std::vector<std::string> faults = FindTableFaults(AvodevivuProgram());
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

TEST(ProgramTables, BindEightHandlers) {
    std::size_t handlers = 0;
    for (const WindowClass& windowClass : AvodevivuProgram().Classes)
        handlers += windowClass.Bindings.size();
    EXPECT_EQ(handlers, 8u);
}

void Nothing(Shell&, Window&) {}

bool Mentions(const std::vector<std::string>& faults, const std::string& text) {
    return std::any_of(faults.begin(), faults.end(), [&](const std::string& fault) {
        return fault.find(text) != std::string::npos;
    });
}

TEST(ProgramTables, BrokenTablesAreFound) {
    static const unsigned char kNotAPicture[] = {'G', 'I', 'F', '8'};
    static const EmbeddedFile kBadFile{"bad.gif", kNotAPicture};
    const WindowClass& form1 = AvodevivuProgram().Classes[0];
    // clang-format off
    const ControlDescription controls[] = {
        {.Kind = ControlKind::Label, .Name = "Label1", .TabIndex = 0},
        {.Kind = ControlKind::Label, .Name = "Label1", .TabIndex = 0},
        {.Kind = ControlKind::Timer, .Name = "Timer1"},
        {.Kind = ControlKind::PictureBox, .Name = "Picture1", .TabIndex = 1,
         .Picture = {&kBadFile, 16, 16}},
        {.Kind = ControlKind::PictureButton, .Name = "Command1", .TabIndex = 2,
         .Picture = {form1.Description.Controls[6].Picture.File, 99, 21}},
        // A 2x picture that is only the 1x one again.
        {.Kind = ControlKind::PictureButton, .Name = "Command2", .TabIndex = 3,
         .Picture = {form1.Description.Controls[7].Picture.File, 123, 22,
                     form1.Description.Controls[7].Picture.File}},
    };
    // clang-format on
    const WindowDescription window{.Name = "Broken", .Controls = controls};
    const Binding bindings[] = {
        {"Label9", Event::Click, Nothing, "Label9_Click"},
        {"Label1", Event::Timer, Nothing, "Label1_Timer"},
        {"Form", Event::Click, Nothing, "Form_Click"},
        {"Timer1", Event::Timer, Nothing, "Timer1_Timer"},
        {"Timer1", Event::Timer, Nothing, "Timer1_Timer"},
    };
    const WindowClass classes[] = {{WindowName::Form1, window, bindings},
                                   {WindowName::Text, window, {}}};
    const std::vector<std::string> faults = FindTableFaults({classes, WindowName::Form1});

    EXPECT_TRUE(Mentions(faults, "Broken.Label1: control name is not unique"));
    EXPECT_TRUE(Mentions(faults, "tab position 0 is taken"));
    EXPECT_TRUE(Mentions(faults, "Broken.Timer1: timer without an interval"));
    EXPECT_TRUE(Mentions(faults, "bad.gif does not decode"));
    EXPECT_TRUE(Mentions(faults, "Command1Face.jpg is 123x21, not 99x21"));
    EXPECT_TRUE(
        Mentions(faults, "Broken.Command2: picture Command2Face.jpg is 123x22, not 246x44"));
    EXPECT_TRUE(Mentions(faults, "Label9_Click: no control Label9"));
    EXPECT_TRUE(Mentions(faults, "Label1_Timer: Label1 cannot raise Timer"));
    EXPECT_TRUE(Mentions(faults, "Form_Click: the window raises only Load"));
    EXPECT_TRUE(Mentions(faults, "Timer1_Timer: event bound twice"));
    EXPECT_TRUE(Mentions(faults, "Text: out of order") == false);
}

TEST(PictureHeaderReader, RejectsTruncatedAndForeignBytes) {
    const unsigned char truncatedJpeg[] = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08};
    const unsigned char progressive[] = {0xFF, 0xD8, 0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x00,
                                         0x10, 0x00, 0x20, 0x03, 0,    0,    0,    0};
    const unsigned char emptyIcon[] = {0, 0, 1, 0, 0, 0};
    EXPECT_FALSE(ReadPictureHeader(truncatedJpeg));
    EXPECT_FALSE(ReadPictureHeader(emptyIcon));
    EXPECT_FALSE(ReadPictureHeader({}));
    const auto header = ReadPictureHeader(progressive);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Width, 32);
    EXPECT_EQ(header->Height, 16);
}

}  // namespace
}  // namespace avo::testing
