#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "platform/sim/SimWindowSystem.h"
#include "tests/conformance/RunningProgram.h"

namespace avo::testing {

inline constexpr PointSize Pt(std::int64_t tenThousandths) {
    return PointSize::FromTenThousandths(tenThousandths);
}

// The whole program on the simulated window system, started: the main window is up.
class SimFixture : public ::testing::Test {
public:
    void ShowRow(int row) {
        ASSERT_TRUE(sim.SelectRow("Form1", "List1", row));
        ASSERT_TRUE(sim.Click("Form1", "Command1"));
    }
    void OpenAbout() { ASSERT_TRUE(sim.Click("Form1", "Command2")); }
    void ClickExitPicture() { ASSERT_TRUE(sim.Click("Text", "Picture1")); }

    std::string Alias() { return sim.Text("Form1", "Label1"); }
    std::string Description() { return sim.Text("Form1", "Label3"); }
    PointSize CaptionSize() { return sim.FontSize("Text", "Label1"); }
    bool GrowPhase() { return sim.TimerEnabled("Text", "Timer1"); }
    bool ShrinkPhase() { return sim.TimerEnabled("Text", "Timer2"); }

    // Puts the About window's caption into a chosen state through the program's own
    // control operations, as a handler would.
    void ForceCaption(PointSize size, bool grow) {
        Window& about = *shell->Instance(WindowName::Text);
        about.Control("Label1").SetFontSize(size);
        about.Control("Timer1").SetEnabled(grow);
        about.Control("Timer2").SetEnabled(!grow);
    }

    sim::SimWindowSystem sim;
    RunningProgram program{sim};
    Shell* const shell = &program.shell;
    std::ostringstream& diagnostics = program.diagnostics;
};

}  // namespace avo::testing
