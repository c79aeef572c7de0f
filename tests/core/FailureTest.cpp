#include <cerrno>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

#include "SimFixture.h"

namespace avo::testing {
namespace {

using sim::Operation;

// One injected failure: where the program is first brought, which call fails, what the user
// then does, and what must (and must not) have happened. That each failure is one line and
// the next press works is held for every call by the fuzz folder's ExhaustiveFailureTest.
struct FailureCase {
    const char* Name;
    std::function<void(SimFixture&)> Before;
    const char* Window;
    const char* Control;
    Operation Op;
    std::function<void(SimFixture&)> Act;
    const char* Reported;  // handler named in the diagnostic line
    std::function<void(SimFixture&)> Expect;
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.Name; }

class InjectedFailure : public SimFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InjectedFailure, StopsTheHandlerAndTheProgramGoesOn) {
    const FailureCase& failure = GetParam();
    if (failure.Before) failure.Before(*this);
    sim.InjectFailure(failure.Window, failure.Control, failure.Op, StatusFileNotFound);
    failure.Act(*this);

    const std::string report = diagnostics.str();
    EXPECT_NE(report.find(std::string(failure.Reported) + ": "), std::string::npos) << report;
    EXPECT_NE(report.find("0x80070002"), std::string::npos) << report;
    failure.Expect(*this);
}

void SelectRow5(SimFixture& f) { f.sim.SelectRow("Form1", "List1", 5); }
void PressShow(SimFixture& f) { f.sim.Click("Form1", "Command1"); }
void PressAbout(SimFixture& f) { f.OpenAbout(); }
void ClickExit(SimFixture& f) { f.ClickExitPicture(); }
void Tick(SimFixture& f) { f.sim.AdvanceTime(30); }
void OpenAboutAndReachGrowPhase(SimFixture& f) {
    f.OpenAbout();
    f.sim.AdvanceTime(30);
}

const FailureCase kCases[] = {
    {"SelectionQuery", SelectRow5, "Form1", "List1", Operation::IsRowSelected, PressShow,
     "Form1.Command1_Click",
     [](SimFixture& f) {
         EXPECT_EQ(f.Alias(), "");
         EXPECT_EQ(f.Description(), "");
     }},
    {"AliasWrite", SelectRow5, "Form1", "Label1", Operation::SetText, PressShow,
     "Form1.Command1_Click",
     [](SimFixture& f) {
         EXPECT_EQ(f.Alias(), "");
         EXPECT_EQ(f.Description(), "");
     }},
    {"DescriptionWrite", SelectRow5, "Form1", "Label3", Operation::SetText, PressShow,
     "Form1.Command1_Click",
     [](SimFixture& f) {
         EXPECT_EQ(f.Alias(), " Dt ");  // written before the failing step stays
         EXPECT_EQ(f.Description(), "");
     }},
    {"AboutLoad", nullptr, "Text", "", Operation::Load, PressAbout, "Form1.Command2_Click",
     [](SimFixture& f) {
         EXPECT_FALSE(f.sim.IsLoaded("Text"));
         EXPECT_TRUE(f.sim.Processes().empty());
         f.OpenAbout();
         EXPECT_TRUE(f.sim.IsVisible("Text"));
     }},
    {"AboutShow", nullptr, "Text", "", Operation::Show, PressAbout, "Form1.Command2_Click",
     [](SimFixture& f) {
         // A window that cannot be shown is not left loaded and invisible.
         EXPECT_FALSE(f.sim.IsLoaded("Text"));
         EXPECT_EQ(f.sim.NativeWindowCount(), 1u);
         f.OpenAbout();  // a second press loads it again
         EXPECT_TRUE(f.sim.IsVisible("Text"));
         EXPECT_EQ(f.sim.LoadCount("Text"), 2);
     }},
    {"BrowserStart", nullptr, "", "", Operation::StartProcess, PressAbout, "Text.Form_Load",
     [](SimFixture& f) {
         // A browser that cannot start does not keep the About window closed.
         EXPECT_TRUE(f.sim.IsVisible("Text"));
         EXPECT_EQ(f.sim.FrontWindow(), "Text");
         EXPECT_TRUE(f.sim.Processes().empty());
     }},
    {"AboutUnload", PressAbout, "Text", "", Operation::Destroy, ClickExit, "Text.Picture1_Click",
     [](SimFixture& f) {
         EXPECT_TRUE(f.sim.IsVisible("Text"));
         EXPECT_EQ(f.sim.FrontWindow(), "Text");  // the main window was not shown
         f.ClickExitPicture();
         EXPECT_FALSE(f.sim.IsLoaded("Text"));
     }},
    {"MainShowAfterUnload",
     [](SimFixture& f) {
         f.OpenAbout();
         f.sim.CloseCommand("Form1");
     },
     "Form1", "", Operation::Show, ClickExit, "Text.Picture1_Click",
     [](SimFixture& f) {
         // The main window could not be shown, so no window is left and the program ends
         // instead of living on with nothing on screen.
         EXPECT_FALSE(f.sim.IsLoaded("Text"));
         EXPECT_FALSE(f.sim.IsLoaded("Form1"));
         EXPECT_FALSE(f.shell->IsRunning());
     }},
    {"ShrinkRead", PressAbout, "Text", "Label1", Operation::GetFontSize, Tick, "Text.Timer2_Timer",
     [](SimFixture& f) {
         EXPECT_EQ(f.CaptionSize(), Pt(22500));
         EXPECT_TRUE(f.ShrinkPhase());
         Tick(f);  // the next tick goes on as usual
         EXPECT_EQ(f.CaptionSize(), Pt(12500));
     }},
    {"GrowWrite", OpenAboutAndReachGrowPhase, "Text", "Label1", Operation::SetFontSize, Tick,
     "Text.Timer1_Timer",
     [](SimFixture& f) {
         EXPECT_EQ(f.CaptionSize(), Pt(12500));
         EXPECT_TRUE(f.GrowPhase());
     }},
    {"HandOverDisable", PressAbout, "Text", "Timer2", Operation::SetTimerEnabled, Tick,
     "Text.Timer2_Timer",
     [](SimFixture& f) {
         EXPECT_EQ(f.CaptionSize(), Pt(12500));
         EXPECT_TRUE(f.ShrinkPhase());
         EXPECT_FALSE(f.GrowPhase());
     }},
    {"HandOverEnable", PressAbout, "Text", "Timer1", Operation::SetTimerEnabled, Tick,
     "Text.Timer2_Timer",
     [](SimFixture& f) {
         // The hand-over was cut short: both timers stopped, the caption stays still.
         EXPECT_FALSE(f.ShrinkPhase());
         EXPECT_FALSE(f.GrowPhase());
         f.sim.AdvanceTime(300);
         EXPECT_EQ(f.CaptionSize(), Pt(12500));
         EXPECT_TRUE(f.shell->IsRunning());
     }},
    {"CloseCommand", PressAbout, "Text", "", Operation::Destroy,
     [](SimFixture& f) { f.sim.CloseCommand("Text"); }, "Text.close command",
     [](SimFixture& f) { EXPECT_TRUE(f.sim.IsVisible("Text")); }},
};

INSTANTIATE_TEST_SUITE_P(EveryStep, InjectedFailure, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(StartUpFailure, MainWindowThatCannotLoadEndsTheProgram) {
    sim::SimWindowSystem sim;
    sim.InjectFailure("Form1", "", Operation::Load);
    const RunningProgram program(sim);
    EXPECT_FALSE(program.shell.IsRunning());
    EXPECT_TRUE(sim.QuitRequested());
    EXPECT_NE(program.diagnostics.str().find("program.start-up: Form1 (Form) Load failed"),
              std::string::npos)
        << program.diagnostics.str();
}

// The one line must tell a person which program could not start and why.
TEST(BrowserStartReport, NamesTheProgramAndTheReasonInOneLine) {
    // clang-format off
    const std::pair<Status, const char*> reasons[] = {
        {StatusFileNotFound, "not found"}, {StatusPathNotFound, "not found"},
        {StatusAccessDenied, "permission denied"},
        {StatusNotExecutable, "not a program this system can run"},
        {StatusFromErrno(EACCES), "permission denied"}, {StatusFromErrno(ENOENT), "not found"},
        {static_cast<Status>(0x80071234u), "failed"}};
    // clang-format on
    for (const auto& [status, reason] : reasons) {
        sim::SimWindowSystem sim;
        const RunningProgram program(sim);
        sim.InjectFailure("", "", Operation::StartProcess, status);
        ASSERT_TRUE(sim.Click("Form1", "Command2"));
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
        EXPECT_EQ(program.diagnostics.str(),
                  std::string("avodevivu: Text.Form_Load: explorer.exe (Process) StartProcess "
                              "failed: ") +
                      reason + " (status " + code + ")\n");
    }
}

TEST(MisspeltControl, FailsInEveryBuildNamingWindowAndControl) {
    const WindowClass& form1 = AvodevivuProgram().Classes[static_cast<int>(WindowName::Form1)];
    try {
        form1.IndexOf("Lable1");
        FAIL() << "a misspelt control name was accepted";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "Form1 has no control named \"Lable1\"");
    }
}

}  // namespace
}  // namespace avo::testing
