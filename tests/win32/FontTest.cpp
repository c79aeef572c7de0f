#include "Win32Fixture.h"
#include "platform/win32/GlyphCoverage.h"
#include "platform/win32/WideText.h"
#include "reference/CommandCatalogue.h"

namespace avo::win32::testing {
namespace {

using Fonts = ProgramFixture;

// What each control draws: its described text, a list its rows, the output boxes every
// alias and description of the catalogue. Picture buttons and boxes draw only pictures.
std::wstring TextsDrawnBy(WindowName window, const ControlDescription& control) {
    std::wstring texts = control.Kind == ControlKind::Label ? Widen(control.Text) : L"";
    for (const std::string_view row : control.Rows) texts += Widen(row);
    if (window == WindowName::Form1 && (control.Name == "Label1" || control.Name == "Label3")) {
        for (const CommandEntry& entry : CommandCatalogue) {
            texts += Widen(control.Name == "Label1" ? entry.Alias : entry.Description);
        }
    }
    return texts;
}

// Every text is drawn with a font that has a glyph for each of its characters: the Turkish
// letters of the credit line, the headings and the catalogue included.
TEST_F(Fonts, HaveAGlyphForEveryCharacterOfTheTextsTheyDraw) {
    OpenAbout();
    for (const auto& [name, form] : {std::pair{WindowName::Form1, Form1()},
                                     std::pair{WindowName::Text, About()}}) {
        const Form* native = Form::FromHandle(form);
        ASSERT_NE(native, nullptr);
        const WindowClass& windowClass = AvodevivuProgram().Classes[static_cast<int>(name)];
        for (ControlIndex i = 0; i < windowClass.Description.Controls.size(); ++i) {
            const ControlDescription& control = windowClass.Description.Controls[i];
            const std::wstring texts = TextsDrawnBy(name, control);
            if (texts.empty()) continue;
            EXPECT_EQ(Narrow(MissingGlyphs(native->FontOf(i), texts).c_str()), "") << control.Name;
        }
    }
}

// Controls that name no font (the list, the About window's credit line and address) get
// the window's default font, in the Turkish character set like every named one.
TEST_F(Fonts, TheDefaultFontIsTurkish) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Form1Control("List1"), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
    EXPECT_EQ(logFont.lfCharSet, TURKISH_CHARSET);
    EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif");
}

// Characters of the private-use area have no glyph in an ordinary font, whichever face the
// system gives for the name.
TEST(FontsOfOtherWindows, MissingGlyphsNamesEachUndrawableCharacterOnce) {
    LOGFONTW logFont{.lfHeight = -11, .lfCharSet = TURKISH_CHARSET, .lfFaceName = L"Arial"};
    const UniqueFont font(CreateFontIndirectW(&logFont));
    ASSERT_TRUE(font);
    EXPECT_EQ(MissingGlyphs(font.get(), L"ı\uE000ğ\uE001\uE000"), L"\uE000\uE001");
    EXPECT_EQ(MissingGlyphs(font.get(), L"Kavrelonix için yazılmıştır"), L"");
}

}  // namespace
}  // namespace avo::win32::testing
