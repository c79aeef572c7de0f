#include "SimFixture.h"
#include "about/Text.h"

namespace avo::testing {
namespace {

const std::string kSiteLaunch = "explorer.exe http://www.kavrelonix.example";

using Lifecycle = SimFixture;

TEST_F(Lifecycle, StartShowsOnlyTheMainWindow) {
    EXPECT_TRUE(shell->IsRunning());
    EXPECT_TRUE(sim.IsVisible("Form1"));
    EXPECT_EQ(sim.FrontWindow(), "Form1");
    EXPECT_FALSE(sim.IsLoaded("Text"));
    EXPECT_EQ(shell->Registry().Created(WindowName::Text), nullptr);
    EXPECT_TRUE(sim.Processes().empty());
    EXPECT_EQ(Alias(), "");
    EXPECT_EQ(sim.SelectedRow("Form1", "List1"), -1);
}

TEST_F(Lifecycle, AboutOpensOnceAndLaunchesTheSiteOnce) {
    OpenAbout();
    OpenAbout();

    EXPECT_EQ(sim.LoadCount("Text"), 1);
    ASSERT_EQ(sim.Processes().size(), 1u);
    EXPECT_EQ(sim.Processes()[0].CommandLine, kSiteLaunch);
    EXPECT_EQ(sim.Processes()[0].ShowCode, 2);
    EXPECT_EQ(sim.FrontWindow(), "Text");
    EXPECT_TRUE(sim.IsVisible("Form1"));  // the main window stays usable beside it

    ShowRow(0);
    EXPECT_EQ(Alias(), " L ");
}

TEST_F(Lifecycle, SecondShowDoesNotDisturbTheAnimation) {
    OpenAbout();
    sim.AdvanceTime(90);
    const PointSize size = CaptionSize();
    OpenAbout();
    EXPECT_EQ(CaptionSize(), size);
    EXPECT_TRUE(GrowPhase());
}

TEST_F(Lifecycle, EveryOpeningLoadsAfreshAndLaunchesAgain) {
    Window* firstInstance = nullptr;
    for (int opening = 1; opening <= 3; ++opening) {
        OpenAbout();
        if (!firstInstance) firstInstance = shell->Registry().Created(WindowName::Text);
        EXPECT_EQ(shell->Registry().Created(WindowName::Text), firstInstance);
        EXPECT_EQ(CaptionSize(), about::kCaptionStartSize);
        EXPECT_TRUE(ShrinkPhase());
        EXPECT_FALSE(GrowPhase());
        sim.AdvanceTime(30 * 17);  // leave it mid-swing
        ClickExitPicture();
        EXPECT_FALSE(sim.IsLoaded("Text"));
        EXPECT_EQ(sim.FrontWindow(), "Form1");
    }
    EXPECT_EQ(sim.Processes().size(), 3u);
    EXPECT_EQ(sim.LoadCount("Form1"), 1);
}

TEST_F(Lifecycle, ClosingTheMainWindowWithAboutOpenKeepsTheProgram) {
    ShowRow(7);
    OpenAbout();
    ASSERT_TRUE(sim.CloseCommand("Form1"));
    EXPECT_TRUE(shell->IsRunning());
    EXPECT_FALSE(sim.IsLoaded("Form1"));
    sim.AdvanceTime(300);  // the About window goes on animating alone

    ClickExitPicture();
    EXPECT_TRUE(shell->IsRunning());
    EXPECT_FALSE(sim.IsLoaded("Text"));
    EXPECT_EQ(sim.LoadCount("Form1"), 2);
    EXPECT_EQ(sim.FrontWindow(), "Form1");
    EXPECT_EQ(Alias(), "");
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(sim.SelectedRow("Form1", "List1"), -1);
}

TEST_F(Lifecycle, ClosingTheOnlyWindowEndsTheProgram) {
    ASSERT_TRUE(sim.CloseCommand("Form1"));
    EXPECT_FALSE(shell->IsRunning());
    EXPECT_TRUE(sim.QuitRequested());
    EXPECT_EQ(sim.NativeWindowCount(), 0u);
}

TEST_F(Lifecycle, ClosingAboutThroughTheWindowSystemUnloadsIt) {
    OpenAbout();
    ASSERT_TRUE(sim.CloseCommand("Text"));
    EXPECT_FALSE(sim.IsLoaded("Text"));
    EXPECT_TRUE(shell->IsRunning());
    OpenAbout();
    EXPECT_EQ(sim.Processes().size(), 2u);
}

TEST_F(Lifecycle, ExitButtonEndsAtOnceWithAboutOpen) {
    OpenAbout();
    ASSERT_TRUE(sim.Click("Form1", "Command3"));
    EXPECT_FALSE(shell->IsRunning());
    EXPECT_TRUE(sim.QuitRequested());
    EXPECT_FALSE(sim.IsLoaded("Form1"));
    EXPECT_FALSE(sim.IsLoaded("Text"));
    EXPECT_EQ(sim.NativeWindowCount(), 0u);

    sim.ClearCalls();
    sim.AdvanceTime(1000);
    EXPECT_TRUE(sim.Calls().empty());  // no handler runs after the end
}

TEST_F(Lifecycle, ClicksOnTheAboutLabelsChangeNothing) {
    OpenAbout();
    sim.ClearCalls();
    for (const char* label : {"Label1", "Label2", "Label3"}) ASSERT_TRUE(sim.Click("Text", label));
    EXPECT_TRUE(sim.Calls().empty());
    EXPECT_TRUE(sim.IsVisible("Text"));
}

TEST_F(Lifecycle, MainWindowLabelsAndListHaveNoHandlers) {
    ShowRow(2);
    sim.ClearCalls();
    for (const char* control : {"List1", "Label1", "Label2", "Label3", "Label4", "Label5"}) {
        ASSERT_TRUE(sim.Click("Form1", control));
    }
    EXPECT_TRUE(sim.Calls().empty());
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
