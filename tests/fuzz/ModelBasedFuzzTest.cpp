#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include "ConformanceDriver.h"
#include "UserModel.h"
#include "about/Text.h"
#include "platform/sim/SimWindowSystem.h"
#include "tests/conformance/RunningProgram.h"

// Long random sequences of user actions and timer ticks, sent as real input through the
// conformance suite's driver, the program compared after every step with a reference model
// of what the user can observe. On the simulated window system failures are injected too,
// and its virtual clock lets the caption be held to the model's exact size; real timers
// tick in real time, so there the caption is held to its limits. Replay a run with
// AVO_FUZZ_SEED=<seed>.

namespace avo::testing {
namespace {

using sim::Operation;

struct FailureSite {
    const char* Window;
    const char* Control;
    Operation Op;
};

// clang-format off
const FailureSite kFailureSites[] = {
    {"Form1", "", Operation::Load},          {"Form1", "", Operation::Show},
    {"Form1", "", Operation::Destroy},       {"Form1", "List1", Operation::IsRowSelected},
    {"Form1", "Label1", Operation::SetText}, {"Form1", "Label3", Operation::SetText},
    {"Text", "", Operation::Load},           {"Text", "", Operation::Show},
    {"Text", "", Operation::Destroy},        {"Text", "Label1", Operation::GetFontSize},
    {"Text", "Label1", Operation::SetFontSize}, {"Text", "Timer1", Operation::SetTimerEnabled},
    {"Text", "Timer2", Operation::SetTimerEnabled}, {"", "", Operation::StartProcess},
};
// A click in the list selects the row under the pointer, so the list is not one of these.
const char* const kHandlerlessControls[][2] = {
    {"Form1", "Label1"}, {"Form1", "Label2"}, {"Form1", "Label3"}, {"Form1", "Label4"},
    {"Form1", "Label5"}, {"Text", "Label1"},  {"Text", "Label2"},  {"Text", "Label3"}};
// clang-format on

struct RunFigures {
    std::int64_t Events = 0;
    std::int64_t Ticks = 0;
    std::int64_t FailuresInjected = 0;
    std::int64_t FailuresHit = 0;
    std::int64_t ProgramRuns = 0;
};

// One program run after another until the event budget is spent.
class Fuzz {
public:
    explicit Fuzz(std::uint64_t seed) : random_(seed) { StartProgram(); }
    ~Fuzz() { EndProgram(); }

    RunFigures Run(std::int64_t events) {
        while (figures_.Events < events && !::testing::Test::HasFailure()) {
            Step();
            if (::testing::Test::HasFailure()) {
                std::cout << "diverged after event " << figures_.Events << ": " << lastAction_
                          << std::endl;
            }
        }
        return figures_;
    }

private:
    void StartProgram() {
        EndProgram();
        driver_ = conformance::BackendUnderTest().Create();
        sim_ = driver_->Simulated();
        recorder_ = std::make_unique<StartRecorder>(driver_->System(), sim_ != nullptr);
        program_ = std::make_unique<RunningProgram>(*recorder_);
        driver_->Flush();
        model_ = UserModel{};
        if (sim_) model_.Now = sim_->Now();
        aboutInstance_ = nullptr;
        ++figures_.ProgramRuns;
    }
    void EndProgram() {
        program_.reset();
        if (driver_) driver_->Flush();
        recorder_.reset();
        driver_.reset();
    }

    void Step() {
        if (sim_ && Chance(3)) InjectOneFailure();
        const std::size_t reportsBefore = ReportCount();
        const bool endingAction = Act();
        driver_->Flush();
        const bool hit = FailureWasHit();
        if (sim_) {
            sim_->ClearFailures();
            sim_->ClearCalls();
        }
        if (hit) {
            ++figures_.FailuresHit;
            // A hit failure is reported once, except while the program is ending, when
            // nothing is reported any more.
            EXPECT_EQ(ReportCount() - reportsBefore, endingAction ? 0u : 1u)
                << program_->diagnostics.str();
            AdoptObservedState();
        } else {
            ASSERT_EQ(ReportCount(), reportsBefore) << program_->diagnostics.str();
        }
        CheckInvariants();
        CompareWithModel();
        if (!program_->shell.IsRunning()) StartProgram();
    }

    // Applies one random user action or a stretch of time; true for the exit button.
    bool Act() {
        ++figures_.Events;
        const bool mainUp = model_.MainVisible;
        const bool aboutUp = model_.AboutVisible;
        switch (Pick(10)) {
            case 0:
            case 1:
                if (mainUp) {
                    const int row = static_cast<int>(Pick(49));
                    Do("select row " + std::to_string(row),
                       [&] { driver_->ClickRow("Form1", "List1", row); });
                    model_.SelectRow(row);
                }
                return false;
            case 2:
                if (ClickIf(mainUp, "Form1", "Command1")) model_.PressShow();
                return false;
            case 3:
                if (ClickIf(mainUp, "Form1", "Command2")) model_.PressAbout();
                return false;
            case 4:
                if (ClickIf(mainUp && Chance(4), "Form1", "Command3")) {
                    model_.PressExit();
                    return true;
                }
                ClickAHandlerlessControl();
                return false;
            case 5:
                if (ClickIf(aboutUp, "Text", "Picture1")) model_.ClickExitPicture();
                return false;
            case 6:
                if (mainUp && Chance(15)) {
                    Do("close main", [&] { driver_->CloseCommand("Form1"); });
                    model_.CloseMain();
                } else if (aboutUp && Chance(8)) {
                    Do("close about", [&] { driver_->CloseCommand("Text"); });
                    model_.CloseAbout();
                }
                return false;
            case 7:
                if (aboutUp) {
                    Do("drag off the exit picture",
                       [&] { driver_->PressDragOffRelease("Text", "Picture1"); });
                }
                return false;
            default: PassTime(); return false;
        }
    }

    // Real time is dear, so a real window system waits seldom and briefly.
    void PassTime() {
        if (!sim_ && !(model_.AboutVisible && Chance(10))) return;
        const auto span = static_cast<std::int64_t>(Pick(sim_ ? 400 : 90));
        Do("wait " + std::to_string(span), [&] { driver_->Wait(std::chrono::milliseconds(span)); });
        if (!sim_) return;
        const int ticks = model_.AdvanceTime(span);
        figures_.Ticks += ticks;
        figures_.Events += ticks;
    }

    void ClickAHandlerlessControl() {
        const auto& control = kHandlerlessControls[Pick(std::size(kHandlerlessControls))];
        ClickIf(std::string(control[0]) == "Form1" ? model_.MainVisible : model_.AboutVisible,
                control[0], control[1]);
    }
    // Clicks the control where its window is up; gives back whether it did.
    bool ClickIf(bool up, const char* window, const char* control) {
        if (up) {
            Do(std::string("click ") + window + "." + control,
               [&] { driver_->Click(window, control); });
        }
        return up;
    }

    template <class Action>
    void Do(std::string name, Action&& action) {
        lastAction_ = std::move(name);
        action();
    }

    void InjectOneFailure() {
        const FailureSite& site = kFailureSites[Pick(std::size(kFailureSites))];
        sim_->InjectFailure(site.Window, site.Control, site.Op, StatusFailed);
        ++figures_.FailuresInjected;
    }

    bool FailureWasHit() const {
        if (!sim_) return false;
        return std::any_of(sim_->Calls().begin(), sim_->Calls().end(),
                           [](const sim::Call& call) { return Failed(call.Result); });
    }

    // After a failure the program legitimately leaves the model's path (a hand-over cut
    // short, a window loaded but not shown); the model carries on from what is observed.
    void AdoptObservedState() {
        model_.Alive = program_->shell.IsRunning();
        model_.MainLoaded = sim_->IsLoaded("Form1");
        model_.MainVisible = sim_->IsVisible("Form1");
        model_.AboutLoaded = sim_->IsLoaded("Text");
        model_.AboutVisible = sim_->IsVisible("Text");
        model_.Front = sim_->FrontWindow();
        model_.Launches = static_cast<int>(recorder_->Starts.size());
        if (model_.MainLoaded) {
            model_.SelectedRow = sim_->SelectedRow("Form1", "List1");
            model_.Alias = sim_->Text("Form1", "Label1");
            model_.Description = sim_->Text("Form1", "Label3");
        }
        if (model_.AboutLoaded) {
            model_.CaptionSize = sim_->FontSize("Text", "Label1");
            model_.Growing = sim_->TimerEnabled("Text", "Timer1");
            model_.Shrinking = sim_->TimerEnabled("Text", "Timer2");
            const char* running = model_.Growing ? "Timer1" : "Timer2";
            if (model_.Growing || model_.Shrinking)
                model_.TickDueAt = sim_->TimerDueAt("Text", running);
        }
    }

    void CheckInvariants() {
        const bool running = program_->shell.IsRunning();
        const int loaded = Loaded(WindowName::Form1) + Loaded(WindowName::Text);
        ASSERT_EQ(running, loaded > 0) << "the program lives exactly while a window is loaded";
        if (sim_) {
            ASSERT_EQ(sim_->QuitRequested(), !running);
        }
        ASSERT_EQ(driver_->NativeWindows(), loaded) << "a native window outlived its unload";
        Window* about = program_->shell.Registry().Created(WindowName::Text);
        if (aboutInstance_) {
            ASSERT_EQ(about, aboutInstance_) << "a second About window instance";
        }
        aboutInstance_ = about;
        if (Loaded(WindowName::Text)) {
            const bool growing = Caption("Timer1").Enabled();
            const bool shrinking = Caption("Timer2").Enabled();
            ASSERT_FALSE(growing && shrinking) << "both caption timers run";
            // Only a failure can stop both.
            if (!sim_) {
                ASSERT_TRUE(growing || shrinking) << "no caption timer runs";
            }
        }
    }

    void CompareWithModel() {
        ASSERT_EQ(program_->shell.IsRunning(), model_.Alive);
        ASSERT_EQ(Loaded(WindowName::Form1), model_.MainLoaded);
        ASSERT_EQ(Loaded(WindowName::Text), model_.AboutLoaded);
        ASSERT_EQ(driver_->IsShown("Form1"), model_.MainVisible);
        ASSERT_EQ(driver_->IsShown("Text"), model_.AboutVisible);
        // Which window is in front is the window manager's to say on a real display.
        if (sim_) {
            ASSERT_EQ(driver_->FrontWindow(), model_.Front);
        }
        ASSERT_EQ(static_cast<int>(recorder_->Starts.size()), model_.Launches);
        if (model_.MainLoaded) {
            ASSERT_EQ(program_->Control(WindowName::Form1, "Label1").Text(), model_.Alias);
            ASSERT_EQ(program_->Control(WindowName::Form1, "Label3").Text(), model_.Description);
            ASSERT_EQ(program_->SelectedRow(), model_.SelectedRow);
        }
        if (model_.AboutLoaded) CompareCaption();
    }

    void CompareCaption() {
        const PointSize size = Caption("Label1").FontSize();
        if (sim_) {
            ASSERT_EQ(size, model_.CaptionSize);
            ASSERT_EQ(Caption("Timer1").Enabled(), model_.Growing);
            ASSERT_EQ(Caption("Timer2").Enabled(), model_.Shrinking);
            return;
        }
        // One step past a limit turns the caption round; a font system may round the size
        // by up to half a pixel.
        const PointSize slack = about::kCaptionStep + PointSize::FromTenThousandths(5000);
        ASSERT_GE(size, about::kCaptionLowerLimit - slack);
        ASSERT_LE(size, about::kCaptionUpperLimit + slack);
    }

    bool Loaded(WindowName name) const { return program_->Loaded(name) != nullptr; }
    ControlRef Caption(const char* control) const {
        return program_->Control(WindowName::Text, control);
    }

    std::size_t ReportCount() const {
        const std::string text = program_->diagnostics.str();
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }

    std::uint64_t Pick(std::uint64_t bound) { return random_() % bound; }
    bool Chance(int percent) { return Pick(100) < static_cast<std::uint64_t>(percent); }

    std::mt19937_64 random_;
    std::unique_ptr<conformance::Driver> driver_;
    sim::SimWindowSystem* sim_ = nullptr;
    std::unique_ptr<StartRecorder> recorder_;
    std::unique_ptr<RunningProgram> program_;
    UserModel model_;
    Window* aboutInstance_ = nullptr;
    std::string lastAction_;
    RunFigures figures_;
};

bool Simulated() { return std::string(conformance::BackendUnderTest().Name) == "Sim"; }

void RunSeed(std::uint64_t seed) {
    std::cout << "fuzz seed " << seed << " on " << conformance::BackendUnderTest().Name
              << " (replay: AVO_FUZZ_SEED=" << seed << ")" << std::endl;
    const RunFigures figures = Fuzz(seed).Run(Simulated() ? 50'000 : 10'000);
    std::cout << "fuzz seed " << seed << ": " << figures.Events << " events (" << figures.Ticks
              << " timer ticks), " << figures.FailuresInjected << " failures injected, "
              << figures.FailuresHit << " hit, " << figures.ProgramRuns << " program runs"
              << std::endl;
}

std::vector<std::uint64_t> FixedSeeds() {
    if (Simulated()) return {1u, 20101u, 424242u, 9876543210u};
    return {20101u};
}

class FixedSeed : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(FixedSeed, ProgramFollowsTheModel) { RunSeed(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Seeds, FixedSeed, ::testing::ValuesIn(FixedSeeds()));

TEST(FreshSeed, ProgramFollowsTheModel) {
    const char* replay = std::getenv("AVO_FUZZ_SEED");
    RunSeed(replay ? std::strtoull(replay, nullptr, 10) : std::random_device{}());
}

}  // namespace
}  // namespace avo::testing
