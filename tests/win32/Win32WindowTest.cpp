#include <fstream>
#include <functional>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"

// The window system on its own: a window loaded straight from its description, its events
// recorded instead of handled.

namespace avo::win32::testing {
namespace {

// The starts that the fake explorer.exe next to the tests records, one line each:
// "<process id> <show code> <command line>".
class LaunchLog {
public:
    struct Launch {
        unsigned long ProcessId = 0;
        int ShowCode = 0;
        std::string CommandLine;
    };

    LaunchLog() {
        wchar_t directory[MAX_PATH];
        GetTempPathW(MAX_PATH, directory);
        path_ = std::wstring(directory) + L"avo-launches-" +
                std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(path_.c_str());
        SetEnvironmentVariableW(L"AVO_FAKE_EXPLORER_LOG", path_.c_str());
    }
    ~LaunchLog() {
        SetEnvironmentVariableW(L"AVO_FAKE_EXPLORER_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    LaunchLog(const LaunchLog&) = delete;
    LaunchLog& operator=(const LaunchLog&) = delete;

    std::vector<Launch> Read() const {
        std::vector<Launch> launches;
        std::ifstream file(path_.c_str());
        Launch launch;
        while (file >> launch.ProcessId >> launch.ShowCode && file.get() &&
               std::getline(file, launch.CommandLine)) {
            launches.push_back(launch);
        }
        return launches;
    }

private:
    std::wstring path_;
};

struct RecordingSink final : EventSink {
    void OnEvent(ControlIndex control, Event event) override {
        Events.emplace_back(control, event);
        if (OnEach) OnEach(control, event);
    }
    void OnCloseCommand() override { ++CloseCommands; }

    std::vector<std::pair<ControlIndex, Event>> Events;
    std::function<void(ControlIndex, Event)> OnEach;
    int CloseCommands = 0;
};

class LoadedWindow : public ::testing::Test {
protected:
    void Load(WindowName name) {
        windowClass_ = &AvodevivuProgram().Classes[static_cast<int>(name)];
        ASSERT_EQ(system.Load(windowClass_->Description, sink, window), StatusOk);
        ASSERT_EQ(window->Show(), StatusOk);
        form = FindForm(Widen(windowClass_->Description.Caption).c_str());
        ASSERT_NE(form, nullptr);
    }
    ControlIndex Index(std::string_view control) const { return windowClass_->IndexOf(control); }

    Win32WindowSystem system;
    RecordingSink sink;
    std::unique_ptr<NativeWindow> window;
    HWND form = nullptr;

private:
    const WindowClass* windowClass_ = nullptr;
};

struct ClickAt {
    POINT Down;
    POINT Up;
    const char* Control;  // null: no click at all
};

class LabelClicks : public LoadedWindow, public ::testing::WithParamInterface<ClickAt> {};

// Labels are drawn on the window; a click belongs to the label whose rectangle holds both
// the press and the release.
TEST_P(LabelClicks, GoToTheLabelUnderThePointer) {
    Load(WindowName::Text);
    if (system.Dpi() != 96) GTEST_SKIP() << "points are stated for 96 DPI";
    const ClickAt& click = GetParam();
    SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.Down.x, click.Down.y));
    SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(click.Up.x, click.Up.y));

    std::vector<ControlIndex> clicked;
    for (const auto& [control, event] : sink.Events) {
        if (event == Event::Click) clicked.push_back(control);
    }
    EXPECT_EQ(clicked,
              click.Control ? std::vector{Index(click.Control)} : std::vector<ControlIndex>{});
}

INSTANTIATE_TEST_SUITE_P(
    TextWindow, LabelClicks,
    ::testing::Values(ClickAt{{304, 180}, {304, 180}, "Label1"},
                      ClickAt{{160, 144}, {448, 216}, "Label1"},  // its two corners
                      ClickAt{{296, 312}, {296, 312}, "Label3"},
                      ClickAt{{304, 180}, {20, 20}, nullptr},      // released over no label
                      ClickAt{{304, 180}, {300, 280}, nullptr},    // released over another label
                      ClickAt{{159, 180}, {159, 180}, nullptr}));  // one pixel left of Label1

using LabelClicksOnOutputBoxes = LoadedWindow;

// The output boxes have windows for screen readers; a real click on one still lands on the
// form (WindowFromPoint asks the windows as the mouse does) and is that box's click.
TEST_F(LabelClicksOnOutputBoxes, ReachTheFormAndAreTheBoxesClicks) {
    Load(WindowName::Form1);
    for (const char* box : {"Label1", "Label3"}) {
        RECT bounds{};
        ASSERT_TRUE(GetWindowRect(GetDlgItem(form, ControlId(Index(box))), &bounds)) << box;
        POINT point{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        const HWND hit = WindowFromPoint(point);
        ASSERT_EQ(hit, form) << box;
        ScreenToClient(hit, &point);
        sink.Events.clear();
        SendMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        SendMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        const std::vector<std::pair<ControlIndex, Event>> expected{{Index(box), Event::Click}};
        EXPECT_EQ(sink.Events, expected) << box;
    }
}

struct FontWrite {
    std::int64_t Written;   // ten-thousandths of a point
    std::int64_t ReadBack;  // what the font in use reports at 96 DPI
};

class FontSizes : public LoadedWindow, public ::testing::WithParamInterface<FontWrite> {};

// GDI fonts have whole-pixel heights: a write reads back as the nearest whole pixel, which is
// what steers the caption animation.
TEST_P(FontSizes, ReadBackAsTheWholePixelSizeInUse) {
    Load(WindowName::Text);
    if (system.Dpi() != 96) GTEST_SKIP() << "sizes are stated for 96 DPI";
    const ControlIndex caption = Index("Label1");
    ASSERT_EQ(window->SetFontSize(caption, PointSize::FromTenThousandths(GetParam().Written)),
              StatusOk);
    PointSize size;
    ASSERT_EQ(window->GetFontSize(caption, size), StatusOk);
    EXPECT_EQ(size, PointSize::FromTenThousandths(GetParam().ReadBack));
}

INSTANTIATE_TEST_SUITE_P(At96Dpi, FontSizes,
                         ::testing::Values(FontWrite{22500, 22500},    // 3 px exactly
                                           FontWrite{12500, 15000},    // 1.67 px rounds up to 2
                                           FontWrite{32500, 30000},    // 4.33 px rounds down to 4
                                           FontWrite{97500, 97500},    // 13 px
                                           FontWrite{200000, 202500},  // 26.67 px rounds up to 27
                                           FontWrite{1, 7500}));       // never below one pixel

using Lifetime = LoadedWindow;

// A tick that unloads its own window and drops it: the HWND goes once the tick has returned,
// and no event follows.
TEST_F(Lifetime, AWindowMayBeDestroyedAndDroppedInsideATimerTick) {
    Load(WindowName::Text);
    sink.OnEach = [&](ControlIndex, Event event) {
        if (event == Event::Timer && window) {
            window->Destroy();
            window.reset();
        }
    };
    EXPECT_TRUE(PumpUntil(system, [&] { return !IsWindow(form); }));
    PumpUntil(
        system, [] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(sink.Events.size(), 1u);
}

// What a real start hands to the program it starts, and what it gives back.
TEST(StartProcess, GivesBackTheIdOfTheProcessItStarted) {
    LaunchLog launches;
    Win32WindowSystem system;
    std::uint32_t processId = 0;
    ASSERT_EQ(
        system.StartProcess("explorer.exe http://www.kavrelonix.example", SW_SHOWNORMAL, processId),
        StatusOk);
    std::vector<LaunchLog::Launch> recorded;
    // The fake runs on its own.
    PumpUntil(
        system, [&] { return !(recorded = launches.Read()).empty(); }, std::chrono::seconds(20));
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].ProcessId, processId);
    EXPECT_EQ(recorded[0].ShowCode, SW_SHOWNORMAL);
}

}  // namespace
}  // namespace avo::win32::testing
