#include "CapturedDiagnostics.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>

#include "ConformanceDriver.h"
#include "UserModel.h"
#include "about/Text.h"
#include "app/Program.h"
#include "app/Shell.h"

// The model-based fuzzer on a real window system: random user actions sent as real input
// through the conformance suite's driver, the program compared with the reference model
// after every event. Real timers tick in real time, so the caption is held to its limits
// rather than to the model's exact size. Replay a run with AVO_FUZZ_SEED=<seed>.

namespace avo::testing {
namespace {

constexpr std::int64_t kEventsPerSeed = 10'000;

// The real window system with process starts counted instead of made: thousands of About
// openings must not start thousands of browsers.
class LaunchCounter final : public WindowSystem {
public:
    explicit LaunchCounter(WindowSystem& real) : real_(real) {}

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override {
        return real_.Load(description, sink, window);
    }
    Status StartProcess(std::string_view, int, std::uint32_t& processId) override {
        processId = static_cast<std::uint32_t>(++Launches);
        return StatusOk;
    }
    void RunEventLoop() override { real_.RunEventLoop(); }
    void Quit() override { real_.Quit(); }

    int Launches = 0;

private:
    WindowSystem& real_;
};

class RealFuzz {
public:
    explicit RealFuzz(std::uint64_t seed)
        : random_(seed), driver_(conformance::BackendUnderTest().Create()) {
        StartProgram();
    }
    ~RealFuzz() {
        shell_.reset();
        driver_->Flush();
    }

    std::int64_t Run(std::int64_t events) {
        while (events_ < events && !::testing::Test::HasFailure()) {
            Act();
            driver_->Flush();
            Compare();
            if (::testing::Test::HasFailure()) {
                std::cout << "diverged after event " << events_ << ": " << lastAction_ << std::endl;
            }
            if (!shell_->IsRunning()) StartProgram();
        }
        return runs_;
    }

private:
    void StartProgram() {
        shell_.reset();
        driver_->Flush();
        launches_ = std::make_unique<LaunchCounter>(driver_->System());
        diagnostics_.str("");
        shell_ = std::make_unique<Shell>(*launches_, AvodevivuProgram(), CaptureInto(diagnostics_));
        shell_->Start();
        driver_->Flush();
        model_ = UserModel{};
        ++runs_;
    }

    void Act() {
        ++events_;
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
                break;
            case 2:
                if (mainUp) {
                    Do("show", [&] { driver_->Click("Form1", "Command1"); });
                    model_.PressShow();
                }
                break;
            case 3:
                if (mainUp) {
                    Do("about", [&] { driver_->Click("Form1", "Command2"); });
                    model_.PressAbout();
                }
                break;
            case 4:
                if (mainUp && Chance(3)) {
                    Do("exit", [&] { driver_->Click("Form1", "Command3"); });
                    model_.PressExit();
                } else if (mainUp) {
                    Do("click Label3", [&] { driver_->Click("Form1", "Label3"); });
                }
                break;
            case 5:
                if (aboutUp) {
                    Do("exit picture", [&] { driver_->Click("Text", "Picture1"); });
                    model_.ClickExitPicture();
                }
                break;
            case 6:
                if (mainUp && Chance(10)) {
                    Do("close main", [&] { driver_->CloseCommand("Form1"); });
                    model_.CloseMain();
                } else if (aboutUp && Chance(10)) {
                    Do("close about", [&] { driver_->CloseCommand("Text"); });
                    model_.CloseAbout();
                }
                break;
            case 7:
                if (aboutUp && Chance(10)) {
                    const auto span = std::chrono::milliseconds(Pick(90));
                    Do("wait", [&] { driver_->Wait(span); });
                }
                break;
            default:
                if (aboutUp)
                    Do("drag off the exit picture",
                       [&] { driver_->PressDragOffRelease("Text", "Picture1"); });
                break;
        }
    }

    template <class Action>
    void Do(std::string name, Action&& action) {
        lastAction_ = std::move(name);
        action();
    }

    void Compare() {
        ASSERT_EQ(diagnostics_.str(), "") << "no operation fails on a healthy window system";
        ASSERT_EQ(shell_->IsRunning(), model_.Alive);
        if (!model_.Alive) return;
        ASSERT_EQ(Loaded(WindowName::Form1), model_.MainLoaded);
        ASSERT_EQ(Loaded(WindowName::Text), model_.AboutLoaded);
        ASSERT_EQ(driver_->IsShown("Form1"), model_.MainVisible);
        ASSERT_EQ(driver_->IsShown("Text"), model_.AboutVisible);
        ASSERT_EQ(launches_->Launches, model_.Launches);
        if (model_.MainLoaded) {
            Window& main = *shell_->Instance(WindowName::Form1);
            ASSERT_EQ(main.Control("Label1").Text(), model_.Alias);
            ASSERT_EQ(main.Control("Label3").Text(), model_.Description);
            if (model_.SelectedRow >= 0) {
                ASSERT_TRUE(main.Control("List1").IsRowSelected(model_.SelectedRow));
            }
        }
        if (model_.AboutLoaded) {
            Window& about = *shell_->Instance(WindowName::Text);
            const bool growing = about.Control("Timer1").Enabled();
            const bool shrinking = about.Control("Timer2").Enabled();
            ASSERT_NE(growing, shrinking) << "exactly one caption timer runs";
            const PointSize size = about.Control("Label1").FontSize();
            // One step past a limit turns the caption round; a font system may round the
            // size by up to half a pixel.
            const PointSize slack = about::kCaptionStep + PointSize::FromTenThousandths(5000);
            ASSERT_GE(size, about::kCaptionLowerLimit - slack);
            ASSERT_LE(size, about::kCaptionUpperLimit + slack);
        }
    }

    bool Loaded(WindowName name) const {
        const Window* window = shell_->Registry().Created(name);
        return window && window->IsLoaded();
    }

    std::uint64_t Pick(std::uint64_t bound) { return random_() % bound; }
    bool Chance(int percent) { return Pick(100) < static_cast<std::uint64_t>(percent); }

    std::mt19937_64 random_;
    std::unique_ptr<conformance::Driver> driver_;
    std::unique_ptr<LaunchCounter> launches_;
    std::ostringstream diagnostics_;
    std::unique_ptr<Shell> shell_;
    UserModel model_;
    std::string lastAction_;
    std::int64_t events_ = 0;
    std::int64_t runs_ = 0;
};

void RunSeed(std::uint64_t seed) {
    std::cout << "fuzz seed " << seed << " on " << conformance::BackendUnderTest().Name
              << " (replay: AVO_FUZZ_SEED=" << seed << ")" << std::endl;
    const std::int64_t runs = RealFuzz(seed).Run(kEventsPerSeed);
    std::cout << "fuzz seed " << seed << ": " << kEventsPerSeed << " events, " << runs
              << " program runs" << std::endl;
}

TEST(RealWindowSystemFuzz, FixedSeedFollowsTheModel) { RunSeed(20101); }

TEST(RealWindowSystemFuzz, FreshSeedFollowsTheModel) {
    const char* replay = std::getenv("AVO_FUZZ_SEED");
    RunSeed(replay ? std::strtoull(replay, nullptr, 10) : std::random_device{}());
}

}  // namespace
}  // namespace avo::testing
