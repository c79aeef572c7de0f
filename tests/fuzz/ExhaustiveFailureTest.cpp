#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/SimWindowSystem.h"
#include "tests/conformance/RunningProgram.h"

// For every handler and every window-system call it makes, that call is made to fail: the
// handler's later calls must not happen, the error is reported once, the windows stay
// consistent, and the program goes on.

namespace avo::testing {
namespace {

using sim::Operation;

struct Program {
    sim::SimWindowSystem sim;
    RunningProgram running{sim};
};

using Step = std::function<void(Program&)>;

struct Scenario {
    const char* Name;
    Step Before;
    Step Act;
    bool EndsProgram = false;
};

void Select(Program& p, int row) { p.sim.SelectRow("Form1", "List1", row); }
void Press(Program& p, const char* button) { p.sim.Click("Form1", button); }
void OpenAbout(Program& p) { Press(p, "Command2"); }

const Scenario kScenarios[] = {
    {"ShowRow5", [](Program& p) { Select(p, 5); }, [](Program& p) { Press(p, "Command1"); }},
    {"ShowLastRow", [](Program& p) { Select(p, 48); }, [](Program& p) { Press(p, "Command1"); }},
    {"OpenAbout", [](Program&) {}, OpenAbout},
    {"ShowAboutAgain", OpenAbout, OpenAbout},
    {"ExitPicture", OpenAbout, [](Program& p) { p.sim.Click("Text", "Picture1"); }},
    {"ExitPictureReloadsMain",
     [](Program& p) {
         OpenAbout(p);
         p.sim.CloseCommand("Form1");
     },
     [](Program& p) { p.sim.Click("Text", "Picture1"); }},
    {"ShrinkTickHandsOver", OpenAbout, [](Program& p) { p.sim.AdvanceTime(30); }},
    {"GrowTick",
     [](Program& p) {
         OpenAbout(p);
         p.sim.AdvanceTime(30 * 5);
     },
     [](Program& p) { p.sim.AdvanceTime(30); }},
    {"GrowTickHandsOver",
     [](Program& p) {
         OpenAbout(p);
         p.sim.AdvanceTime(30 * 19);
     },
     [](Program& p) { p.sim.AdvanceTime(30); }},
    {"CloseMainWithAboutOpen", OpenAbout, [](Program& p) { p.sim.CloseCommand("Form1"); }},
    {"CloseAbout", OpenAbout, [](Program& p) { p.sim.CloseCommand("Text"); }},
    {"ExitButton", OpenAbout, [](Program& p) { Press(p, "Command3"); }, true},
};

struct CallSite {
    std::string Window, Control;
    Operation Op;
    int Occurrence;  // how many earlier calls went to the same place
};

std::vector<CallSite> CallSites(const std::vector<sim::Call>& calls) {
    std::vector<CallSite> sites;
    for (const sim::Call& call : calls) {
        int earlier = 0;
        for (const CallSite& site : sites) {
            earlier +=
                site.Window == call.Window && site.Control == call.Control && site.Op == call.Op;
        }
        sites.push_back({call.Window, call.Control, call.Op, earlier});
    }
    return sites;
}

std::vector<std::string> Describe(const std::vector<sim::Call>& calls) {
    std::vector<std::string> lines;
    for (const sim::Call& call : calls) {
        lines.push_back(call.Window + "." + call.Control + "." + sim::OperationName(call.Op));
    }
    return lines;
}

std::vector<sim::Call> CleanRun(const Scenario& scenario) {
    Program program;
    scenario.Before(program);
    program.sim.ClearCalls();
    scenario.Act(program);
    return program.sim.Calls();
}

bool LoadedInThisRun(const std::vector<sim::Call>& calls, std::size_t before) {
    for (std::size_t i = 0; i < before; ++i) {
        if (calls[i].Op == Operation::Load && calls[i].Window == calls[before].Window) return true;
    }
    return false;
}

// The calls a run must make when call `failing` of the clean run fails: everything up to
// it, and nothing of the failing handler after it. The About window's Load handler is a
// handler of its own, so a failed browser start lets the load go on.
// A window loaded by the failing step that cannot be shown is unloaded again.
std::vector<sim::Call> ExpectedCalls(const std::vector<sim::Call>& clean, std::size_t failing,
                                     bool endsProgram) {
    std::vector<sim::Call> expected(clean.begin(), clean.begin() + failing + 1);
    const sim::Call& failed = clean[failing];
    if (failed.Op == Operation::Show && LoadedInThisRun(clean, failing)) {
        expected.push_back({failed.Window, "", Operation::Destroy, StatusOk});
    }
    if (failed.Op == Operation::StartProcess || endsProgram) {
        expected.insert(expected.end(), clean.begin() + failing + 1, clean.end());
    }
    return expected;
}

void ExpectProgramGoesOn(Program& program) {
    ASSERT_EQ(program.running.shell.IsRunning(),
              program.sim.IsLoaded("Form1") || program.sim.IsLoaded("Text"));
    ASSERT_EQ(program.sim.NativeWindowCount(),
              std::size_t{program.sim.IsLoaded("Form1")} + program.sim.IsLoaded("Text"));
    if (!program.running.shell.IsRunning()) return;
    if (program.sim.IsLoaded("Text")) program.sim.Click("Text", "Picture1");
    ASSERT_TRUE(program.sim.IsVisible("Form1"));
    Select(program, 0);
    Press(program, "Command1");
    EXPECT_EQ(program.sim.Text("Form1", "Label1"), " L ");
}

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.Name; }

class EveryCallFails : public ::testing::TestWithParam<Scenario> {};

TEST_P(EveryCallFails, LaterStepsDoNotRunAndTheProgramGoesOn) {
    const Scenario& scenario = GetParam();
    const std::vector<sim::Call> clean = CleanRun(scenario);
    ASSERT_FALSE(clean.empty());
    const std::vector<CallSite> sites = CallSites(clean);

    for (std::size_t failing = 0; failing < sites.size(); ++failing) {
        const CallSite& site = sites[failing];
        SCOPED_TRACE("failing call " + std::to_string(failing) + ": " + Describe(clean)[failing]);
        Program program;
        scenario.Before(program);
        program.sim.ClearCalls();
        program.sim.InjectFailure(site.Window, site.Control, site.Op, StatusFailed, 1,
                                  site.Occurrence);
        scenario.Act(program);

        EXPECT_EQ(Describe(program.sim.Calls()),
                  Describe(ExpectedCalls(clean, failing, scenario.EndsProgram)));
        const std::string report = program.running.diagnostics.str();
        EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), scenario.EndsProgram ? 0 : 1)
            << report;
        if (scenario.EndsProgram) {
            EXPECT_FALSE(program.running.shell.IsRunning());
        }
        program.sim.ClearFailures();
        ExpectProgramGoesOn(program);
    }
    std::cout << scenario.Name << ": " << sites.size() << " calls, each made to fail once"
              << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Handlers, EveryCallFails, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace avo::testing
