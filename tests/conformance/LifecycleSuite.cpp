#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "ConformanceSuite.h"
#include "RunningProgram.h"
#include "about/Text.h"

namespace avo::conformance {
namespace {

using std::chrono::milliseconds;
using testing::RunningProgram;
using testing::StartRecorder;

const std::string kSiteLaunch = "explorer.exe http://www.kavrelonix.example";

// The whole program on each window system, used through real input as a user uses it: the
// windows' lives from start to end. Process starts are recorded, not made.
class Lifecycle : public Conformance {
protected:
    void SetUp() override {
        Conformance::SetUp();
        recorder_ = std::make_unique<StartRecorder>(driver_->System());
        program_ = std::make_unique<RunningProgram>(*recorder_);
        driver_->Flush();
    }
    void TearDown() override {
        EXPECT_EQ(program_->diagnostics.str(), "") << "no operation fails here";
        program_.reset();
        Conformance::TearDown();
    }

    bool Running() const { return program_->shell.IsRunning(); }
    bool Loaded(WindowName name) const { return program_->Loaded(name) != nullptr; }
    ControlRef Control(WindowName window, const char* name) const {
        return program_->Control(window, name);
    }
    std::string Alias() const { return Control(WindowName::Form1, "Label1").Text(); }
    std::string Description() const { return Control(WindowName::Form1, "Label3").Text(); }
    int Loads(const char* window) const { return recorder_->Loads[window]; }

    void ShowRow(int row) {
        driver_->ClickRow("Form1", "List1", row);
        driver_->Click("Form1", "Command1");
    }
    void OpenAbout() {
        opened_ = std::chrono::steady_clock::now();
        driver_->Click("Form1", "Command2");
    }
    void ClickExitPicture() { driver_->Click("Text", "Picture1"); }
    // A freshly loaded caption starts at its start size, shrinking. Real timers tick in the
    // meantime, as often as a busy machine lets them, and each tick moves it one step at most
    // (turning round at its lower limit), so it lies within that many steps of the start.
    void ExpectFreshCaption() {
        const PointSize size = Control(WindowName::Text, "Label1").FontSize();
        const bool growing = Control(WindowName::Text, "Timer1").Enabled();
        EXPECT_NE(growing, Control(WindowName::Text, "Timer2").Enabled());
        if (driver_->Simulated()) {
            EXPECT_EQ(size, about::kCaptionStartSize);
            EXPECT_FALSE(growing);
        } else {
            // Timers may come a little early; two more for the ticks around the reads.
            const auto ticks = (std::chrono::steady_clock::now() - opened_) /
                               std::chrono::milliseconds(about::kCaptionTickMs - 5);
            PointSize limit = about::kCaptionStartSize;
            for (auto tick = ticks + 2; tick > 0; --tick) limit = limit + about::kCaptionStep;
            EXPECT_LE(size, limit);
        }
    }

    std::chrono::steady_clock::time_point opened_;
    std::unique_ptr<StartRecorder> recorder_;
    std::unique_ptr<RunningProgram> program_;
};

TEST_P(Lifecycle, StartShowsOnlyTheMainWindow) {
    EXPECT_TRUE(Running());
    EXPECT_TRUE(driver_->IsShown("Form1"));
    EXPECT_EQ(FrontWindowOnceSettled("Form1"), "Form1");
    EXPECT_FALSE(driver_->IsShown("Text"));
    EXPECT_EQ(program_->shell.Registry().Created(WindowName::Text), nullptr);
    EXPECT_EQ(driver_->NativeWindows(), 1);
    EXPECT_TRUE(recorder_->Starts.empty());
    EXPECT_EQ(Alias(), "");
    EXPECT_EQ(program_->SelectedRow(), -1);
}

TEST_P(Lifecycle, AboutOpensOnceAndLaunchesTheSiteOnceUntilItIsClosed) {
    OpenAbout();
    const Window* first = program_->Loaded(WindowName::Text);
    driver_->Wait(milliseconds(90));
    const PointSize size = Control(WindowName::Text, "Label1").FontSize();
    OpenAbout();  // a second press only brings it to the front, the caption undisturbed
    if (driver_->Simulated()) {
        EXPECT_EQ(Control(WindowName::Text, "Label1").FontSize(), size);
        EXPECT_TRUE(Control(WindowName::Text, "Timer1").Enabled());
    }
    EXPECT_EQ(program_->Loaded(WindowName::Text), first);
    EXPECT_EQ(Loads("Text"), 1);
    EXPECT_EQ(driver_->NativeWindows(), 2);
    ASSERT_EQ(recorder_->Starts.size(), 1u);
    EXPECT_EQ(recorder_->Starts[0].CommandLine, kSiteLaunch);
    EXPECT_EQ(recorder_->Starts[0].ShowCode, 2);  // minimised, activated
    EXPECT_EQ(FrontWindowOnceSettled("Text"), "Text");
    EXPECT_TRUE(driver_->IsShown("Form1"));  // the main window stays usable beside it

    ShowRow(0);
    EXPECT_EQ(Alias(), " L ");

    // The close command unloads it, and the next opening launches the site again.
    driver_->CloseCommand("Text");
    EXPECT_FALSE(Loaded(WindowName::Text));
    EXPECT_EQ(driver_->NativeWindows(), 1);
    EXPECT_TRUE(Running());
    OpenAbout();
    EXPECT_EQ(recorder_->Starts.size(), 2u);
}

TEST_P(Lifecycle, EveryOpeningLoadsAfreshAndTheExitPictureCloses) {
    Window* instance = nullptr;
    for (std::size_t opening = 1; opening <= 3; ++opening) {
        OpenAbout();
        OpenAbout();
        if (!instance) instance = program_->shell.Registry().Created(WindowName::Text);
        EXPECT_EQ(program_->shell.Registry().Created(WindowName::Text), instance);
        ASSERT_TRUE(Loaded(WindowName::Text));
        EXPECT_TRUE(driver_->IsShown("Text"));
        ExpectFreshCaption();
        EXPECT_EQ(recorder_->Starts.size(), opening);
        driver_->Wait(milliseconds(30 * 17));  // leave it mid-swing
        ClickExitPicture();
        EXPECT_FALSE(Loaded(WindowName::Text));
        EXPECT_FALSE(driver_->IsShown("Text"));
        EXPECT_EQ(driver_->NativeWindows(), 1) << "the About window outlived its unload";
        EXPECT_TRUE(driver_->IsShown("Form1"));
        EXPECT_EQ(FrontWindowOnceSettled("Form1"), "Form1");
    }
    EXPECT_EQ(recorder_->Starts.size(), 3u);
    EXPECT_EQ(Loads("Text"), 3);
    EXPECT_EQ(Loads("Form1"), 1);
}

TEST_P(Lifecycle, ClosingTheMainWindowKeepsAboutAndItsExitPictureBringsAFreshOne) {
    ShowRow(7);
    OpenAbout();
    driver_->CloseCommand("Form1");
    EXPECT_TRUE(Running());
    EXPECT_EQ(driver_->NativeWindows(), 1);
    EXPECT_FALSE(Loaded(WindowName::Form1));
    EXPECT_FALSE(driver_->IsShown("Form1"));
    EXPECT_TRUE(driver_->IsShown("Text"));
    driver_->Wait(milliseconds(300));  // the About window goes on animating alone
    EXPECT_TRUE(Running());

    ClickExitPicture();
    EXPECT_TRUE(Running());
    EXPECT_FALSE(Loaded(WindowName::Text));
    ASSERT_TRUE(Loaded(WindowName::Form1));
    EXPECT_EQ(Loads("Form1"), 2);
    EXPECT_EQ(driver_->NativeWindows(), 1) << "the first main window outlived its unload";
    EXPECT_TRUE(driver_->IsShown("Form1"));
    EXPECT_EQ(FrontWindowOnceSettled("Form1"), "Form1");
    EXPECT_EQ(Alias(), "");
    EXPECT_EQ(Description(), "");
    EXPECT_EQ(program_->SelectedRow(), -1);
}

TEST_P(Lifecycle, ClosingTheOnlyWindowEndsTheProgram) {
    driver_->CloseCommand("Form1");
    EXPECT_FALSE(Running());
    EXPECT_EQ(driver_->NativeWindows(), 0);
    EXPECT_TRUE(driver_->RunLoopWith([] {}, [this] { driver_->System().RunEventLoop(); }))
        << "the loop did not end at once";
}

TEST_P(Lifecycle, ExitButtonEndsTheEventLoopAndClosesEveryWindow) {
    OpenAbout();
    // Run is the start-up sequence again (the main window is shown once more) and the loop.
    int exitCode = -1;
    EXPECT_TRUE(driver_->RunLoopWith([this] { driver_->Click("Form1", "Command3"); },
                                     [&] { exitCode = program_->shell.Run(); }))
        << "the loop went on after the exit button";
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(Running());
    EXPECT_FALSE(Loaded(WindowName::Form1));
    EXPECT_FALSE(Loaded(WindowName::Text));
    EXPECT_EQ(driver_->NativeWindows(), 0);
}

// The show button writes the selected row's texts exactly, blanks and all; selecting alone
// changes nothing until the press, nor does a press with nothing selected.
TEST_P(Lifecycle, ShowWritesTheSelectedRowsTextsWhenPressed) {
    // clang-format off
    const struct { int Row; const char* Alias; const char* Description; } shown[] = {
        {0, " L ", " Çizgi çizmemizi saglayan komuttur. "},
        {15, " i ", " Blok dosya çagirmamizi saglayan komuttur. "},
        {20, " M ", " Obje tasimamizi saglayan komuttur. "},
        {30, " P ", "Ekrani tasimamizi saglayan komuttur. "},
        {32, " La ", " Layer özellikleri ve listelemeye  yarayan komuttur. "},
        {43, " F9 ", " Snap komutu . "},
        {44, " F10 ", "  Polar açi ayari. "},
        {46, " - ", " Kaydetme komutudur. "},
        {47, " - ", " Kapatma komutudur. "},
        {48, " - ", " Dosya açma komutudur. "}};
    // clang-format on
    driver_->Click("Form1", "Command1");  // nothing selected yet: nothing written
    std::string alias, description;
    for (const auto& row : shown) {
        driver_->ClickRow("Form1", "List1", row.Row);
        EXPECT_EQ(program_->SelectedRow(), row.Row);
        EXPECT_EQ(Alias(), alias) << "selecting row " << row.Row << " alone";
        EXPECT_EQ(Description(), description) << "selecting row " << row.Row << " alone";
        driver_->Click("Form1", "Command1");
        alias = Alias();
        description = Description();
        EXPECT_EQ(alias, row.Alias);
        EXPECT_EQ(description, row.Description);
    }
}

// The caption grows to its upper limit and turns back, never leaving its range, with exactly
// one of its two timers running: on real timers, in real time.
TEST_P(Lifecycle, TheCaptionPulsatesBetweenItsLimits) {
    OpenAbout();
    PointSize smallest = PointSize::Whole(100);
    PointSize largest;
    int phaseFaults = 0;
    const auto start = std::chrono::steady_clock::now();
    milliseconds waited{0};  // the virtual clock's time, or at least the real one's
    std::optional<milliseconds> reachedTop;
    bool turnedBack = false;
    for (; waited < std::chrono::seconds(20) && !turnedBack; waited += milliseconds(10)) {
        driver_->Wait(milliseconds(10));
        const PointSize size = Control(WindowName::Text, "Label1").FontSize();
        const bool shrinking = Control(WindowName::Text, "Timer2").Enabled();
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
        phaseFaults += Control(WindowName::Text, "Timer1").Enabled() == shrinking;
        const auto elapsed =
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
        if (size >= about::kCaptionUpperLimit && !reachedTop)
            reachedTop = std::max(waited, elapsed);
        turnedBack =
            reachedTop && shrinking && size < about::kCaptionUpperLimit - about::kCaptionStep;
    }
    ASSERT_TRUE(turnedBack);
    EXPECT_EQ(phaseFaults, 0);
    EXPECT_GE(smallest, PointSize::FromTenThousandths(12500));
    EXPECT_LE(largest, PointSize::Whole(21));
    // About twenty steps of 30 ms lie between the start and the top.
    EXPECT_GE(reachedTop->count(), 300);
}

// The close command goes to the program, which decides; the window system closes nothing.
TEST_P(Conformance, TheCloseCommandGoesToTheProgramAndClosesNothing) {
    Open("Form1");
    driver_->CloseCommand("Form1");
    EXPECT_EQ(windows_["Form1"].Events.CloseCommands, 1);
    EXPECT_TRUE(driver_->IsShown("Form1"));
}

INSTANTIATE_TEST_SUITE_P(, Lifecycle, ::testing::Values(BackendUnderTest()),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace avo::conformance
