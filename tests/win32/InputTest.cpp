#include <windows.h>

#include <commctrl.h>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"
#include "reference/CommandCatalogue.h"

namespace avo::win32::testing {
namespace {

using Keyboard = ProgramFixture;

TEST_F(Keyboard, OnlyCommand1HasATip) {
    std::vector<std::pair<HWND, std::string>> tools;
    for (const HWND tip : ThreadWindows(TOOLTIPS_CLASSW)) {
        const LRESULT count = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.lpszText = text;
            SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool));
            tools.emplace_back(reinterpret_cast<HWND>(tool.uId), Narrow(text));
        }
    }
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0].first, Form1Control("Command1"));
    EXPECT_EQ(tools[0].second, "Yandan komut seçerek göster butonuna basınız.");
}

// Row -1 is no selection at all: the boxes stay as they were.
class ShowCommand : public ProgramFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ShowCommand, PutsTheSelectedRowsAliasAndDescriptionInTheBoxes) {
    const int row = GetParam();
    ShowRow(row);
    const std::string_view alias = row < 0 ? "" : CommandCatalogue[row].Alias;
    const std::string_view description = row < 0 ? "" : CommandCatalogue[row].Description;
    EXPECT_EQ(Form1Text("Label1"), alias);
    EXPECT_EQ(Form1Text("Label3"), description);
}

// First and last rows, Turkish letters, doubled spaces inside and in front, a short box text.
INSTANTIATE_TEST_SUITE_P(Rows, ShowCommand, ::testing::Values(0, 5, 32, 44, 46, 48, -1));

}  // namespace
}  // namespace avo::win32::testing
