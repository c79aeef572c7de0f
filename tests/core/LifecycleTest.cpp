#include "SimFixture.h"

namespace avo::testing {
namespace {

// The windows' lives on every window system are held by the conformance suite's Lifecycle
// cases; these need the simulated system's record of every call.
using Lifecycle = SimFixture;

// An unloaded About window's timers run nothing, nor does anything after the exit button.
TEST_F(Lifecycle, NoHandlerRunsAfterTheExitPictureOrTheExitButton) {
    OpenAbout();
    ClickExitPicture();
    sim.ClearCalls();
    sim.AdvanceTime(3000);
    EXPECT_TRUE(sim.Calls().empty()) << "after the exit picture";
    OpenAbout();
    ASSERT_TRUE(sim.Click("Form1", "Command3"));
    sim.ClearCalls();
    sim.AdvanceTime(1000);
    EXPECT_TRUE(sim.Calls().empty()) << "after the exit button";
}

TEST_F(Lifecycle, ControlsWithoutHandlersCallNothing) {
    ShowRow(2);
    OpenAbout();
    sim.ClearCalls();
    for (const char* control : {"List1", "Label1", "Label2", "Label3", "Label4", "Label5"}) {
        ASSERT_TRUE(sim.Click("Form1", control));
    }
    for (const char* label : {"Label1", "Label2", "Label3"}) ASSERT_TRUE(sim.Click("Text", label));
    EXPECT_TRUE(sim.Calls().empty());
    EXPECT_TRUE(sim.IsVisible("Text"));
}

TEST_F(Lifecycle, ExitPictureShowsMainWindowAfterUnloadingItsOwnWindow) {
    OpenAbout();
    sim.ClearCalls();
    ClickExitPicture();
    ASSERT_EQ(sim.Calls().size(), 2u);
    EXPECT_EQ(sim.Calls()[0].Window, "Text");
    EXPECT_EQ(sim.Calls()[0].Op, sim::Operation::Destroy);
    EXPECT_EQ(sim.Calls()[1].Window, "Form1");
    EXPECT_EQ(sim.Calls()[1].Op, sim::Operation::Show);
}

}  // namespace
}  // namespace avo::testing
