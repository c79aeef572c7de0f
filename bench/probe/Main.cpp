// avo-xprobe: measures a windowed program from the outside, through the X server.
//
//   avo-xprobe startup   [options] -- program args...
//       exec -> first top-level window mapped and painted; then memory after an idle spell.
//   avo-xprobe animation [options] -- program args...
//       clicks a button that opens a second window and records which rectangles of it are
//       repainted, and when, for a while; plus the program's CPU time over that span.
//
// Each run prints one line of key=value pairs for the benchmark scripts to collect.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProcStats.h"
#include "Process.h"
#include "Stats.h"
#include "XSession.h"

namespace avo::bench {
namespace {

struct Options {
    std::string Mode;
    std::vector<std::string> Program;
    double TimeoutMs = 30000;
    double IdleMs = 1000;  // before memory is read
    int MinColours = 2;    // "painted": more than one flat colour
    bool AnyPid = false;   // accept a new window whose _NET_WM_PID is not the child's
    double Seconds = 10;   // animation: recording span
    int ClickX = 256, ClickY = 356;
    int SecondWidth = 560, SecondHeight = 349;
    Rect Allowed{160, 144, 289, 73};  // the only rectangle that may be repainted
    double FrameGapMs = 5;
    double SettleMs = 500;  // after the second window's first paint
    bool ListTimes = false;
    std::string Snapshot;  // where to save the window as first seen painted
};

// Thrown rather than exiting, so that the program under test is ended on the way out.
[[noreturn]] void Fail(const std::string& why) { throw std::runtime_error(why); }

Options Parse(int argc, char** argv) {
    if (argc < 2) Fail("usage: avo-xprobe startup|animation [options] -- program args...");
    Options o;
    o.Mode = argv[1];
    int i = 2;
    auto value = [&](const char* name) -> std::string {
        if (i + 1 >= argc) Fail(std::string("missing value for ") + name);
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--timeout") o.TimeoutMs = std::stod(value("--timeout")) * 1000;
        else if (arg == "--idle") o.IdleMs = std::stod(value("--idle")) * 1000;
        else if (arg == "--min-colours") o.MinColours = std::stoi(value("--min-colours"));
        else if (arg == "--any-pid") o.AnyPid = true;
        else if (arg == "--seconds") o.Seconds = std::stod(value("--seconds"));
        else if (arg == "--click")
            std::sscanf(value("--click").c_str(), "%d,%d", &o.ClickX, &o.ClickY);
        else if (arg == "--second-size")
            std::sscanf(value("--second-size").c_str(), "%dx%d", &o.SecondWidth, &o.SecondHeight);
        else if (arg == "--allowed") {
            const auto rect = ParseRect(value("--allowed"));
            if (!rect) Fail("--allowed wants x,y,width,height");
            o.Allowed = *rect;
        } else if (arg == "--frame-gap") o.FrameGapMs = std::stod(value("--frame-gap"));
        else if (arg == "--settle") o.SettleMs = std::stod(value("--settle")) * 1000;
        else if (arg == "--list") o.ListTimes = true;
        else if (arg == "--snapshot") o.Snapshot = value("--snapshot");
        else Fail("unknown option " + arg);
    }
    o.Program.assign(argv + i, argv + argc);
    if (o.Program.empty()) Fail("no program to run");
    return o;
}

// One launched program, ended with its process group whatever happens.
class Launched {
public:
    explicit Launched(const std::vector<std::string>& argv) : pid_(Spawn(argv)) {}
    ~Launched() { EndGroup(pid_); }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_;
};

void CheckAlive(const Launched& program, const char* waitingFor) {
    if (!IsRunning(program.Pid()))
        Fail(std::string("the program ended while waiting for ") + waitingFor);
}

// Polls every millisecond for the first viewable window, not among `known`, that `fits`.
Window WaitForWindow(XSession& x, const std::function<std::set<Window>()>& candidates,
                     const std::set<Window>& known, const std::function<bool(Window)>& fits,
                     const Launched& program, double deadline) {
    for (;;) {
        for (Window w : candidates()) {
            if (!known.count(w) && x.IsMapped(w) && fits(w)) return w;
        }
        CheckAlive(program, "its window");
        if (NowMs() > deadline) Fail("no window appeared in time");
        XEvent event;
        x.NextEvent(event, 1);
    }
}

// The program's first top-level window, as the window manager lists it.
Window WaitForClient(XSession& x, const std::set<Window>& known, const Launched& program,
                     const Options& o, double deadline) {
    const auto clients = [&x] {
        const auto list = x.ClientList();
        return std::set<Window>(list.begin(), list.end());
    };
    const auto ours = [&](Window w) {
        const auto pid = x.WindowPid(w);
        return o.AnyPid || !pid || *pid == program.Pid();
    };
    return WaitForWindow(x, clients, known, ours, program, deadline);
}

// A window of the second window's size, managed or not (a bare window may bypass the manager).
Window WaitForSecondWindow(XSession& x, const std::set<Window>& known, const Launched& program,
                           const Options& o, double deadline) {
    const auto sized = [&](Window w) {
        const auto g = x.Geometry(w);
        return g && g->Width == o.SecondWidth && g->Height == o.SecondHeight;
    };
    return WaitForWindow(
        x, [&x] { return x.TopLevelWindows(); }, known, sized, program, deadline);
}

// Waits until the window shows at least MinColours colours; checks on every damage report,
// and every 20 ms in case a report was missed.
void WaitForPaint(XSession& x, Window window, const Launched& program, const Options& o,
                  double deadline) {
    const Damage damage = x.WatchDamage(window, XDamageReportNonEmpty);
    bool check = true;
    double lastCheck = 0;
    for (;;) {
        if (check || NowMs() - lastCheck > 20) {
            const auto colours = x.CountColours(window, o.MinColours);
            if (colours && *colours >= o.MinColours) break;
            lastCheck = NowMs();
        }
        CheckAlive(program, "its first paint");
        if (NowMs() > deadline) Fail("the window was never painted");
        XEvent event;
        check = x.NextEvent(event, 1) && x.IsDamage(event);
    }
    x.Forget(damage);
    if (!o.Snapshot.empty()) x.SavePpm(window, o.Snapshot);
}

int Startup(const Options& o) {
    XSession x;
    const std::set<Window> known = x.TopLevelWindows();
    const double start = NowMs();
    Launched program(o.Program);
    const Window window = WaitForClient(x, known, program, o, start + o.TimeoutMs);
    const double mapped = NowMs();
    WaitForPaint(x, window, program, o, start + o.TimeoutMs);
    const double painted = NowMs();
    const auto cpu = ReadThreadsCpuMs(program.Pid());
    SleepMs(o.IdleMs);
    const auto memory = ReadMemory(program.Pid());
    if (!memory) Fail("cannot read the program's memory");
    std::printf("mapped_ms=%.2f painted_ms=%.2f cpu_ms=%.2f rss_kib=%ld hwm_kib=%ld window=0x%lx\n",
                mapped - start, painted - start, cpu.value_or(-1), memory->RssKiB, memory->HwmKiB,
                window);
    return 0;
}

struct Recording {
    std::vector<double> Times;
    std::vector<double> ForeignTimes;  // since the recording began
    std::size_t Foreign = 0;
    std::optional<Rect> ForeignBox, AllBox;
};

Recording RecordDamage(XSession& x, Window window, const Options& o) {
    Recording r;
    const Damage damage = x.WatchDamage(window, XDamageReportRawRectangles);
    const double begin = NowMs();
    const double end = begin + o.Seconds * 1000;
    for (double now = NowMs(); now < end; now = NowMs()) {
        XEvent event;
        if (!x.NextEvent(event, end - now) || !x.IsDamage(event)) continue;
        const auto& report = reinterpret_cast<const XDamageNotifyEvent&>(event);
        const Rect area{report.area.x, report.area.y, report.area.width, report.area.height};
        r.Times.push_back(NowMs());
        r.AllBox = r.AllBox ? Union(*r.AllBox, area) : area;
        if (Contains(o.Allowed, area)) continue;
        ++r.Foreign;
        r.ForeignTimes.push_back(r.Times.back() - begin);
        r.ForeignBox = r.ForeignBox ? Union(*r.ForeignBox, area) : area;
    }
    x.Forget(damage);
    return r;
}

std::string Describe(const std::optional<Rect>& r) {
    if (!r) return "none";
    return std::to_string(r->X) + "," + std::to_string(r->Y) + "," + std::to_string(r->Width) +
           "," + std::to_string(r->Height);
}

int Animation(const Options& o) {
    XSession x;
    const std::set<Window> known = x.TopLevelWindows();
    const double start = NowMs();
    Launched program(o.Program);
    const Window main = WaitForClient(x, known, program, o, start + o.TimeoutMs);
    WaitForPaint(x, main, program, o, start + o.TimeoutMs);
    SleepMs(500);
    const std::set<Window> before = x.TopLevelWindows();
    const std::string id = std::to_string(main);
    if (RunAndWait({"xdotool", "mousemove", "--window", id, std::to_string(o.ClickX),
                    std::to_string(o.ClickY), "click", "1"}) != 0) {
        Fail("xdotool could not click");
    }
    const double clicked = NowMs();
    const Window second = WaitForSecondWindow(x, before, program, o, clicked + o.TimeoutMs);
    WaitForPaint(x, second, program, o, clicked + o.TimeoutMs);
    SleepMs(o.SettleMs);  // the first full paint is over; from here on only the animation repaints

    const auto cpuBefore = ReadCpuSeconds(program.Pid());
    const double from = NowMs();
    const Recording r = RecordDamage(x, second, o);
    const double span = NowMs() - from;
    const auto cpuAfter = ReadCpuSeconds(program.Pid());
    if (!cpuBefore || !cpuAfter) Fail("cannot read the program's CPU time");

    const auto frames = GroupIntoFrames(r.Times, o.FrameGapMs);
    const auto s = Summarise(Intervals(frames));
    if (!s) Fail("fewer than two repaints were recorded");
    std::printf(
        "frames=%zu median_ms=%.2f p99_ms=%.2f min_ms=%.2f max_ms=%.2f cpu_pct=%.2f "
        "reports=%zu foreign=%zu foreign_box=%s damage_box=%s window=0x%lx\n",
        frames.size(), s->Median, s->P99, s->Min, s->Max,
        100.0 * (*cpuAfter - *cpuBefore) * 1000 / span, r.Times.size(), r.Foreign,
        Describe(r.ForeignBox).c_str(), Describe(r.AllBox).c_str(), second);
    if (o.ListTimes) {
        for (double gap : Intervals(frames)) std::printf("interval %.3f\n", gap);
        for (double t : r.ForeignTimes) std::printf("foreign_at %.3f\n", t);
    }
    return 0;
}

}  // namespace
}  // namespace avo::bench

int main(int argc, char** argv) {
    using namespace avo::bench;
    try {
        const Options options = Parse(argc, argv);
        if (options.Mode == "startup") return Startup(options);
        if (options.Mode == "animation") return Animation(options);
        Fail("unknown mode " + options.Mode);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "avo-xprobe: %s\n", error.what());
        return 2;
    }
}
