#include <windows.h>

#include <commctrl.h>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"
#include "reference/CommandCatalogue.h"

namespace avo::win32::testing {
namespace {

// Key presses go through the event loop's own routing (the dialog manager included), as
// they would when typed.
void PressKey(Win32WindowSystem& system, UINT key) {
    const HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    system.ProcessPendingMessages();
}

void PressShiftTab(Win32WindowSystem& system) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PressKey(system, VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

using Keyboard = ProgramFixture;

TEST_F(Keyboard, FocusStartsOnTheListAndTabGoesRoundInCreationOrder) {
    const std::vector<HWND> order = {Form1Control("List1"), Form1Control("Command1"),
                                     Form1Control("Command2"), Form1Control("Command3")};
    EXPECT_EQ(GetFocus(), order[0]);
    for (std::size_t step = 1; step <= order.size(); ++step) {
        PressKey(system, VK_TAB);
        EXPECT_EQ(GetFocus(), order[step % order.size()]) << "after Tab " << step;
    }
    for (std::size_t step = 1; step <= order.size(); ++step) {
        PressShiftTab(system);
        EXPECT_EQ(GetFocus(), order[(2 * order.size() - step) % order.size()])
            << "after Shift+Tab " << step;
    }
}

struct KeyOnControl {
    const char* Control;
    UINT Key;
};

class KeyboardInertKeys : public ProgramFixture,
                          public ::testing::WithParamInterface<KeyOnControl> {};

// Neither Enter nor Esc may press a button, whichever control has the focus and however
// the focus got there.
TEST_P(KeyboardInertKeys, PressNothing) {
    SendMessageW(Form1Control("List1"), LB_SETCURSEL, 3, 0);
    SetFocus(Form1Control("List1"));
    while (GetFocus() != Form1Control(GetParam().Control)) PressKey(system, VK_TAB);

    PressKey(system, GetParam().Key);

    EXPECT_EQ(Form1Text("Label1"), "");            // not Command1
    EXPECT_EQ(About(), nullptr);                   // not Command2
    EXPECT_TRUE(system.ProcessPendingMessages());  // not Command3
    for (const char* button : {"Command1", "Command2", "Command3"}) {
        EXPECT_EQ(GetWindowLongW(Form1Control(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON)
            << button << " became the default button";
    }
}

INSTANTIATE_TEST_SUITE_P(
    EnterAndEsc, KeyboardInertKeys,
    ::testing::Values(KeyOnControl{"List1", VK_RETURN}, KeyOnControl{"List1", VK_ESCAPE},
                      KeyOnControl{"Command1", VK_RETURN}, KeyOnControl{"Command1", VK_ESCAPE},
                      KeyOnControl{"Command2", VK_RETURN}, KeyOnControl{"Command2", VK_ESCAPE},
                      KeyOnControl{"Command3", VK_RETURN}, KeyOnControl{"Command3", VK_ESCAPE}));

TEST_F(Keyboard, SpacePressesTheFocusedButton) {
    SendMessageW(Form1Control("List1"), LB_SETCURSEL, 0, 0);
    SetFocus(Form1Control("List1"));
    PressKey(system, VK_TAB);
    ASSERT_EQ(GetFocus(), Form1Control("Command1"));
    PressKey(system, VK_SPACE);
    EXPECT_EQ(Form1Text("Label1"), " L ");
}

class ExitPicture : public ProgramFixture, public ::testing::WithParamInterface<UINT> {};

// The exit picture is the About window's only control that takes the focus, so it has it
// when the window opens, and Enter or Space clicks it as it would a lone button.
TEST_P(ExitPicture, HasTheFocusOnOpeningAndTheKeyClicksIt) {
    OpenAbout();
    ASSERT_NE(About(), nullptr);
    EXPECT_EQ(GetFocus(), ControlWindow(About(), WindowName::Text, "Picture1"));
    PressKey(system, GetParam());
    Pump();
    EXPECT_EQ(About(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Form1()));
}

INSTANTIATE_TEST_SUITE_P(EnterAndSpace, ExitPicture, ::testing::Values(VK_RETURN, VK_SPACE));

// Row -1 is no selection at all: the boxes stay as they were.
class ShowCommand : public ProgramFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ShowCommand, PutsTheSelectedRowsAliasAndDescriptionInTheBoxes) {
    const int row = GetParam();
    ShowRow(row);
    const std::string_view alias = row < 0 ? "" : CommandCatalogue[row].Alias;
    const std::string_view description = row < 0 ? "" : CommandCatalogue[row].Description;
    EXPECT_EQ(Form1Text("Label1"), alias);
    EXPECT_EQ(Form1Text("Label3"), description);
    EXPECT_EQ(Form1Text("List1"), row < 0 ? "" : CommandCatalogue[row].ListText);
}

// First and last rows, Turkish letters, doubled spaces inside and in front, a short box text.
INSTANTIATE_TEST_SUITE_P(Rows, ShowCommand, ::testing::Values(0, 5, 32, 44, 46, 48, -1));

}  // namespace
}  // namespace avo::win32::testing
