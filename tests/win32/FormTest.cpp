#include <functional>

#include "Win32Fixture.h"
#include "platform/win32/WideText.h"
#include "about/Text.h"
#include "reference/Form1.h"

// The window system on its own: a window loaded straight from its description, its events
// recorded instead of handled.

namespace avo::win32::testing {
namespace {

struct RecordingSink final : EventSink {
    void OnEvent(ControlIndex control, Event event) override {
        Events.emplace_back(control, event);
        if (OnEach) OnEach(control, event);
    }
    void OnCloseCommand() override { ++CloseCommands; }

    std::size_t Count(ControlIndex control, Event event) const {
        return static_cast<std::size_t>(
            std::count(Events.begin(), Events.end(), std::pair{control, event}));
    }

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
    HWND Child(std::string_view control) const { return GetDlgItem(form, ControlId(Index(control))); }
    void PumpFor(std::chrono::milliseconds time) {
        PumpUntil(system, [] { return false; }, time);
    }

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
    if (click.Control) {
        EXPECT_EQ(clicked, std::vector<ControlIndex>{Index(click.Control)});
    } else {
        EXPECT_TRUE(clicked.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(TextWindow, LabelClicks, ::testing::Values(
    ClickAt{{304, 180}, {304, 180}, "Label1"},
    ClickAt{{160, 144}, {448, 216}, "Label1"},  // its two corners
    ClickAt{{300, 280}, {300, 280}, "Label2"},
    ClickAt{{296, 312}, {296, 312}, "Label3"},
    ClickAt{{20, 20}, {20, 20}, nullptr},
    ClickAt{{304, 180}, {20, 20}, nullptr},     // released elsewhere
    ClickAt{{304, 180}, {300, 280}, nullptr},   // released over another label
    ClickAt{{159, 180}, {159, 180}, nullptr}));  // one pixel left of Label1

using LabelClicksPicture = LoadedWindow;

TEST_F(LabelClicksPicture, PictureBoxReportsItsOwnClick) {
    Load(WindowName::Text);
    Click(Child("Picture1"));
    EXPECT_EQ(sink.Count(Index("Picture1"), Event::Click), 1u);
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

INSTANTIATE_TEST_SUITE_P(At96Dpi, FontSizes, ::testing::Values(
    FontWrite{22500, 22500},    // 3 px exactly
    FontWrite{12500, 15000},    // 1.67 px rounds up to 2
    FontWrite{32500, 30000},    // 4.33 px rounds down to 4
    FontWrite{97500, 97500},    // 13 px
    FontWrite{200000, 202500},  // 26.67 px rounds up to 27
    FontWrite{1, 7500}));       // never below one pixel

struct InitialSize {
    WindowName Window;
    const char* Control;
    std::int64_t Size;
};

class FontSizesInitial : public LoadedWindow, public ::testing::WithParamInterface<InitialSize> {};

TEST_P(FontSizesInitial, AreTheDescribedOnes) {
    Load(GetParam().Window);
    if (system.Dpi() != 96) GTEST_SKIP() << "sizes are stated for 96 DPI";
    PointSize size;
    ASSERT_EQ(window->GetFontSize(Index(GetParam().Control), size), StatusOk);
    EXPECT_EQ(size, PointSize::FromTenThousandths(GetParam().Size));
}

INSTANTIATE_TEST_SUITE_P(Described, FontSizesInitial, ::testing::Values(
    InitialSize{WindowName::Text, "Label1", 22500},
    InitialSize{WindowName::Form1, "Label1", 97500},
    InitialSize{WindowName::Form1, "Label5", 180000},
    InitialSize{WindowName::Form1, "List1", 82500}));  // the windows' default font

using FontSizesInvalid = LoadedWindow;

TEST_F(FontSizesInvalid, AreRejected) {
    Load(WindowName::Text);
    EXPECT_EQ(window->SetFontSize(Index("Label1"), PointSize()), StatusInvalidArgument);
    EXPECT_EQ(window->SetFontSize(Index("Label1"), PointSize::Whole(-3)), StatusInvalidArgument);
}

using Timers = LoadedWindow;

TEST_F(Timers, OnlyTheEnabledTimerTicks) {
    Load(WindowName::Text);
    ASSERT_TRUE(PumpUntil(system, [&] { return sink.Count(Index("Timer2"), Event::Timer) >= 5; }));
    EXPECT_EQ(sink.Count(Index("Timer1"), Event::Timer), 0u);
    bool enabled = false;
    EXPECT_EQ(window->GetTimerEnabled(Index("Timer2"), enabled), StatusOk);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(window->GetTimerEnabled(Index("Timer1"), enabled), StatusOk);
    EXPECT_FALSE(enabled);
}

TEST_F(Timers, DisablingStopsTheTicksAndEnablingStartsThem) {
    Load(WindowName::Text);
    ASSERT_EQ(window->SetTimerEnabled(Index("Timer2"), false), StatusOk);
    ASSERT_EQ(window->SetTimerEnabled(Index("Timer1"), true), StatusOk);
    ASSERT_EQ(window->SetTimerEnabled(Index("Timer1"), true), StatusOk);  // already running
    sink.Events.clear();
    ASSERT_TRUE(PumpUntil(system, [&] { return sink.Count(Index("Timer1"), Event::Timer) >= 5; }));
    EXPECT_EQ(sink.Count(Index("Timer2"), Event::Timer), 0u);
}

TEST_F(Timers, DestroyStopsThemAtOnce) {
    Load(WindowName::Text);
    ASSERT_TRUE(PumpUntil(system, [&] { return !sink.Events.empty(); }));
    ASSERT_EQ(window->Destroy(), StatusOk);
    sink.Events.clear();
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(sink.Events.empty());
}

using Lifetime = LoadedWindow;

// The program unloads the About window from inside its exit picture's click and drops it.
TEST_F(Lifetime, AWindowMayBeDestroyedAndDroppedInsideItsOwnClick) {
    Load(WindowName::Text);
    sink.OnEach = [&](ControlIndex control, Event event) {
        if (control == Index("Picture1") && event == Event::Click) {
            EXPECT_EQ(window->Destroy(), StatusOk);
            window.reset();
        }
    };
    Click(Child("Picture1"));
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_TRUE(PumpUntil(system, [&] { return !IsWindow(form); }));
}

TEST_F(Lifetime, AWindowMayBeDestroyedAndDroppedInsideATimerTick) {
    Load(WindowName::Text);
    sink.OnEach = [&](ControlIndex, Event event) {
        if (event == Event::Timer && window) {
            window->Destroy();
            window.reset();
        }
    };
    EXPECT_TRUE(PumpUntil(system, [&] { return !IsWindow(form); }));
    EXPECT_EQ(sink.Events.size(), 1u);
}

TEST_F(Lifetime, DestroyOutsideAnyEventFreesTheWindowAtOnce) {
    Load(WindowName::Form1);
    ASSERT_EQ(window->Destroy(), StatusOk);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(window->Destroy(), StatusOk);  // twice is harmless
}

TEST_F(Lifetime, TheCloseCommandGoesToTheProgramAndClosesNothing) {
    Load(WindowName::Form1);
    SendMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(sink.CloseCommands, 1);
    EXPECT_TRUE(IsWindowVisible(form));
}

struct ControlCall {
    const char* What;
    std::function<Status(NativeWindow&, const WindowClass&)> Call;
    Status Expected;
};

class ControlErrors : public LoadedWindow, public ::testing::WithParamInterface<ControlCall> {};

TEST_P(ControlErrors, AreReportedAsTheirStatus) {
    Load(WindowName::Form1);
    const WindowClass& form1 = AvodevivuProgram().Classes[0];
    EXPECT_EQ(GetParam().Call(*window, form1), GetParam().Expected) << GetParam().What;
}

Status TextOf(NativeWindow& window, ControlIndex control) {
    std::string text;
    return window.GetText(control, text);
}

Status RowSelected(NativeWindow& window, ControlIndex control, int row) {
    bool selected = false;
    return window.IsRowSelected(control, row, selected);
}

INSTANTIATE_TEST_SUITE_P(Form1, ControlErrors, ::testing::Values(
    ControlCall{"text of a list", [](NativeWindow& w, const WindowClass& c) {
        return w.SetText(c.IndexOf("List1"), "x"); }, StatusWrongKind},
    ControlCall{"text of a button", [](NativeWindow& w, const WindowClass& c) {
        return w.SetText(c.IndexOf("Command1"), "x"); }, StatusWrongKind},
    ControlCall{"rows of a label", [](NativeWindow& w, const WindowClass& c) {
        return RowSelected(w, c.IndexOf("Label1"), 0); }, StatusWrongKind},
    ControlCall{"row past the end", [](NativeWindow& w, const WindowClass& c) {
        return RowSelected(w, c.IndexOf("List1"), 49); }, StatusInvalidArgument},
    ControlCall{"row before the start", [](NativeWindow& w, const WindowClass& c) {
        return RowSelected(w, c.IndexOf("List1"), -1); }, StatusInvalidArgument},
    ControlCall{"last row", [](NativeWindow& w, const WindowClass& c) {
        return RowSelected(w, c.IndexOf("List1"), 48); }, StatusOk},
    ControlCall{"timer of a label", [](NativeWindow& w, const WindowClass& c) {
        return w.SetTimerEnabled(c.IndexOf("Label1"), true); }, StatusWrongKind},
    ControlCall{"no such control", [](NativeWindow& w, const WindowClass&) {
        return TextOf(w, 99); }, StatusInvalidArgument},
    ControlCall{"after unloading", [](NativeWindow& w, const WindowClass& c) {
        w.Destroy();
        return TextOf(w, c.IndexOf("Label1")); }, StatusNotLoaded},
    ControlCall{"show after unloading", [](NativeWindow& w, const WindowClass&) {
        w.Destroy();
        return w.Show(); }, StatusNotLoaded}));

}  // namespace
}  // namespace avo::win32::testing
