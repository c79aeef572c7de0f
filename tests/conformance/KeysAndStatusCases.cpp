#include <array>

#include "ConformanceSuite.h"

namespace avo::conformance {
namespace {

const std::vector<std::string> kMainWindowTabOrder = {"List1", "Command1", "Command2", "Command3"};

// Which operations each kind of control has, in the order of ControlOperation: SetText,
// GetText, IsRowSelected, GetFontSize, SetFontSize, GetTimerEnabled, SetTimerEnabled.
using Operations = std::array<bool, 7>;
Operations OperationsOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return {true, true, false, true, true, false, false};
        case ControlKind::ListBox: return {false, true, true, true, true, false, false};
        case ControlKind::PictureButton:
        case ControlKind::PictureBox: return {false, true, false, true, true, false, false};
        case ControlKind::Timer: return {false, false, false, false, false, true, true};
    }
    return {};
}

// Every control operation on one control, with arguments that are valid for any control that
// has the property, in the order of Operations. What a write writes is what is there.
std::array<Status, 7> CallEveryOperation(NativeWindow& window, ControlIndex index) {
    std::string text;
    bool flag = false;
    PointSize size = PointSize::Whole(10);
    const Status getText = window.GetText(index, text);
    const Status getSize = window.GetFontSize(index, size);
    const Status getTimer = window.GetTimerEnabled(index, flag);
    const Status setText = window.SetText(index, text);
    const Status isRowSelected = window.IsRowSelected(index, 0, flag);
    const Status setSize = window.SetFontSize(index, size);
    const Status setTimer = window.SetTimerEnabled(index, flag);
    return {setText, getText, isRowSelected, getSize, setSize, getTimer, setTimer};
}

}  // namespace

// Tab and Shift+Tab go round the controls that take the focus in tab order, from the first.

TEST_P(Conformance, TabGoesRoundTheControlsThatTakeTheFocusInTabOrder) {
    Open("Text");
    EXPECT_EQ(driver_->FocusedControl("Text"), "Picture1");
    driver_->PressKey("Text", Key::Tab);
    EXPECT_EQ(driver_->FocusedControl("Text"), "Picture1") << "the only one that takes it";
    Open("Form1");
    const std::size_t stops = kMainWindowTabOrder.size();
    EXPECT_EQ(driver_->FocusedControl("Form1"), kMainWindowTabOrder[0]);
    for (std::size_t step = 1; step <= stops; ++step) {
        driver_->PressKey("Form1", Key::Tab);
        EXPECT_EQ(driver_->FocusedControl("Form1"), kMainWindowTabOrder[step % stops])
            << "after Tab " << step;
    }
    for (std::size_t step = 1; step <= stops; ++step) {
        driver_->PressKey("Form1", Key::ShiftTab);
        EXPECT_EQ(driver_->FocusedControl("Form1"), kMainWindowTabOrder[(2 * stops - step) % stops])
            << "after Shift+Tab " << step;
    }
}

// Space presses a focused button or the exit picture; Enter only the exit picture; Esc
// nothing, wherever the focus is and however it got there.

TEST_P(Conformance, SpacePressesAFocusedButtonEnterOnlyTheExitPictureEscNothing) {
    Open("Form1");
    const auto& events = windows_.at("Form1").Events.Received;
    for (const std::string& control : kMainWindowTabOrder) {
        ASSERT_EQ(driver_->FocusedControl("Form1"), control);
        driver_->PressKey("Form1", Key::Enter);
        driver_->PressKey("Form1", Key::Escape);
        EXPECT_TRUE(events.empty()) << "Enter or Esc pressed something on " << control;
        driver_->PressKey("Form1", Key::Tab);
    }
    // No button became the default one on the way for Enter to press.
    driver_->PressKey("Form1", Key::Enter);
    EXPECT_TRUE(events.empty());
    driver_->PressKey("Form1", Key::Tab);
    driver_->PressKey("Form1", Key::Space);
    EXPECT_EQ(Clicks("Form1", "Command1"), 1);
    EXPECT_EQ(events.size(), 1u);

    Open("Text");
    ASSERT_EQ(driver_->FocusedControl("Text"), "Picture1");
    driver_->PressKey("Text", Key::Escape);
    EXPECT_EQ(Clicks("Text", "Picture1"), 0);
    driver_->PressKey("Text", Key::Space);
    EXPECT_EQ(Clicks("Text", "Picture1"), 1);
    driver_->PressKey("Text", Key::Enter);
    EXPECT_EQ(Clicks("Text", "Picture1"), 2);
}

// One status table: what a control lacks is StatusWrongKind, an index or row outside the
// window or a font size of zero or less StatusInvalidArgument (changing nothing), anything
// after Destroy StatusNotLoaded; a second Destroy is StatusOk.

TEST_P(Conformance, EveryOperationAnswersByTheStatusTable) {
    for (const std::string window : {"Form1", "Text"}) {
        Open(window);
        NativeWindow& native = Native(window);
        const auto& controls = windows_.at(window).Description->Controls;
        for (ControlIndex i = 0; i < controls.size(); ++i) {
            const Operations has = OperationsOf(controls[i].Kind);
            const std::array<Status, 7> answers = CallEveryOperation(native, i);
            for (std::size_t op = 0; op < has.size(); ++op) {
                EXPECT_EQ(answers[op], has[op] ? StatusOk : StatusWrongKind)
                    << window << "." << controls[i].Name << ", operation " << op;
            }
        }
        for (const Status answer : CallEveryOperation(native, controls.size())) {
            EXPECT_EQ(answer, StatusInvalidArgument) << window << ": index past the controls";
        }
        const ControlIndex label = Index(window, "Label1");
        PointSize before, after;
        ASSERT_EQ(native.GetFontSize(label, before), StatusOk);
        for (const PointSize size : {PointSize(), PointSize::Whole(-3)}) {
            EXPECT_EQ(native.SetFontSize(label, size), StatusInvalidArgument) << size.ToString();
        }
        ASSERT_EQ(native.GetFontSize(label, after), StatusOk);
        EXPECT_EQ(after, before) << window;
        EXPECT_EQ(native.Destroy(), StatusOk);
        EXPECT_EQ(native.Destroy(), StatusOk) << window << ": a second Destroy";
        EXPECT_EQ(native.Show(), StatusNotLoaded);
        for (ControlIndex i = 0; i <= controls.size(); ++i) {
            for (const Status answer : CallEveryOperation(native, i)) {
                EXPECT_EQ(answer, StatusNotLoaded) << window << " destroyed, control " << i;
            }
        }
    }
    Open("Form1");
    bool selected = false;
    const ControlIndex list = Index("Form1", "List1");
    for (const int row : {-1, 49}) {
        EXPECT_EQ(Native("Form1").IsRowSelected(list, row, selected), StatusInvalidArgument) << row;
    }
}

}  // namespace avo::conformance
