#include "ConformanceSuite.h"

#include <algorithm>
#include <cstdlib>

#include "app/Program.h"
#include "reference/CommandCatalogue.h"

namespace avo::conformance {
namespace {

using std::chrono::milliseconds;

// A window's description and its controls' names, as the program itself holds them.
const WindowClass& ClassOf(const std::string& window) {
    const WindowName name = window == "Form1" ? WindowName::Form1 : WindowName::Text;
    return AvodevivuProgram().Classes[static_cast<std::size_t>(name)];
}

// Centres agree within a title bar's height: frames differ between window managers.
void ExpectCentredOver(const PixelRect& inner, const PixelRect& outer) {
    EXPECT_LE(std::abs(inner.Left + inner.Width / 2 - (outer.Left + outer.Width / 2)), 16);
    EXPECT_LE(std::abs(inner.Top + inner.Height / 2 - (outer.Top + outer.Height / 2)), 16);
}

bool IsLight(std::uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) > 3 * 192;
}

}  // namespace

void Conformance::SetUp() { driver_ = GetParam().Create(); }

void Conformance::TearDown() {
    windows_.clear();
    driver_->Pump();
    driver_.reset();
}

void Conformance::Open(const std::string& window) {
    Load(window);
    ASSERT_EQ(windows_[window].Native->Show(), StatusOk);
    driver_->Pump();
}

void Conformance::Load(const std::string& window) {
    Loaded& loaded = windows_[window];
    loaded.Description = &ClassOf(window).Description;
    ASSERT_EQ(driver_->System().Load(*loaded.Description, loaded.Events, loaded.Native), StatusOk);
}

NativeWindow& Conformance::Native(const std::string& window) { return *windows_.at(window).Native; }

ControlIndex Conformance::Index(const std::string& window, const std::string& control) {
    return ClassOf(window).IndexOf(control);
}

int Conformance::Clicks(const std::string& window, const std::string& control) {
    const auto& events = windows_.at(window).Events.Received;
    const ControlIndex index = Index(window, control);
    return static_cast<int>(
        std::count(events.begin(), events.end(), std::make_pair(index, Event::Click)));
}

// The front window once it is `expected`, or once the window manager has had two seconds.
std::string Conformance::FrontWindowOnceSettled(const std::string& expected) {
    std::string front = driver_->FrontWindow();
    for (int attempt = 0; attempt < 25 && front != expected; ++attempt) {
        driver_->Pump();
        front = driver_->FrontWindow();
    }
    return front;
}

// Show: visible, restored, raised above every other window, active.

TEST_P(Conformance, ShowBringsALoadedWindowUpInFrontAndRestoresAMinimisedOne) {
    Load("Form1");
    EXPECT_FALSE(driver_->IsShown("Form1")) << "a window is loaded hidden";
    ASSERT_EQ(Native("Form1").Show(), StatusOk);
    driver_->Pump();
    EXPECT_TRUE(driver_->IsShown("Form1"));
    EXPECT_EQ(driver_->FrontWindow(), "Form1");
    driver_->Minimise("Form1");
    ASSERT_FALSE(driver_->IsShown("Form1"));
    ASSERT_EQ(Native("Form1").Show(), StatusOk);
    driver_->Pump();
    EXPECT_TRUE(driver_->IsShown("Form1"));
}

TEST_P(Conformance, ShowRaisesAboveTheProgramsOtherWindowAndOtherPrograms) {
    Open("Form1");
    Open("Text");
    EXPECT_EQ(FrontWindowOnceSettled("Text"), "Text");
    ASSERT_EQ(Native("Form1").Show(), StatusOk);
    EXPECT_EQ(FrontWindowOnceSettled("Form1"), "Form1");
    driver_->CoverWithOtherProgram();
    ASSERT_EQ(FrontWindowOnceSettled("other"), "other");
    ASSERT_EQ(Native("Text").Show(), StatusOk);
    EXPECT_EQ(FrontWindowOnceSettled("Text"), "Text");
}

// Placement, decided once when the window is loaded.

TEST_P(Conformance, EachWindowOpenedAloneOpensCentredOnTheScreen) {
    for (const std::string window : {"Form1", "Text"}) {
        Open(window);
        ExpectCentredOver(driver_->Frame(window), driver_->WorkArea());
        ASSERT_EQ(Native(window).Destroy(), StatusOk);
        driver_->Pump();
    }
}

TEST_P(Conformance, AboutWindowOpensCentredOverTheMainWindow) {
    Open("Form1");
    // Away from the screen's centre, where centring on either would look the same.
    const PixelRect area = driver_->WorkArea();
    driver_->Move("Form1", area.Left + 20, area.Top + 30);
    Open("Text");
    ExpectCentredOver(driver_->Frame("Text"), driver_->Frame("Form1"));
}

// Focus and clicks.

// A press dragged off before the release is no click; pressed and released over it, one.
TEST_P(Conformance, APressIsAClickOnlyWhenReleasedOverTheControl) {
    for (const auto& [window, control] :
         {std::pair{"Text", "Picture1"}, std::pair{"Form1", "Command1"}}) {
        Open(window);
        driver_->PressDragOffRelease(window, control);
        EXPECT_EQ(Clicks(window, control), 0) << window;
        driver_->Click(window, control);
        EXPECT_EQ(Clicks(window, control), 1) << window;
    }
}

// A list's text is its selected row, empty while none is.
TEST_P(Conformance, ARowSelectedByTheUserIsReportedOnTheList) {
    Open("Form1");
    const ControlIndex list = Index("Form1", "List1");
    std::string text = "unread";
    ASSERT_EQ(Native("Form1").GetText(list, text), StatusOk);
    EXPECT_EQ(text, "");
    driver_->ClickRow("Form1", "List1", 3);
    EXPECT_EQ(Clicks("Form1", "List1"), 1);
    bool selected = false;
    ASSERT_EQ(Native("Form1").IsRowSelected(list, 3, selected), StatusOk);
    EXPECT_TRUE(selected);
    ASSERT_EQ(Native("Form1").GetText(list, text), StatusOk);
    EXPECT_EQ(text, ClassOf("Form1").Description.Controls[list].Rows[3]);
}

TEST_P(Conformance, TheExitPictureCanBePressedAsAScreenReaderPressesIt) {
    Open("Text");
    ASSERT_TRUE(driver_->PressAsScreenReader("Text", "Picture1")) << "no press action";
    EXPECT_EQ(Clicks("Text", "Picture1"), 1);
}

// Texts and fonts.

// Every blank counts, and markup stays text.
TEST_P(Conformance, TextIsKeptExactlyAsGiven) {
    Open("Form1");
    const ControlIndex box = Index("Form1", "Label3");
    const std::string text = "  Çizgi  <b>çizmemizi</b>\tsaglayan komuttur.  ";
    ASSERT_EQ(Native("Form1").SetText(box, text), StatusOk);
    std::string read;
    ASSERT_EQ(Native("Form1").GetText(box, read), StatusOk);
    EXPECT_EQ(read, text);
    if (const auto spoken = driver_->AccessibleText("Form1", "Label3")) {
        EXPECT_EQ(*spoken, text);
    }
}

TEST_P(Conformance, EveryCharacterOfEveryTextHasAGlyphInItsFont) {
    for (const std::string window : {"Form1", "Text"}) {
        Open(window);
        for (const ControlDescription& control : ClassOf(window).Description.Controls) {
            std::vector<std::string> texts(control.Rows.begin(), control.Rows.end());
            if (!control.Text.empty()) texts.emplace_back(control.Text);
            // The output boxes draw every alias and description of the catalogue.
            if (window == "Form1" && (control.Name == "Label1" || control.Name == "Label3")) {
                for (const CommandEntry& entry : CommandCatalogue) {
                    texts.emplace_back(control.Name == "Label1" ? entry.Alias : entry.Description);
                }
            }
            for (const std::string& text : texts) {
                const auto covered = driver_->HasGlyphs(window, std::string(control.Name), text);
                if (!covered) GTEST_SKIP() << "this window system draws no glyphs";
                EXPECT_TRUE(*covered) << window << "." << control.Name << ": " << text;
            }
        }
    }
}

TEST_P(Conformance, EveryListRowFitsBesideTheScrollBar) {
    Open("Form1");
    const ControlDescription& list = ClassOf("Form1").Description.Controls[Index("Form1", "List1")];
    for (int row = 0; row < static_cast<int>(list.Rows.size()); ++row) {
        const auto widths = driver_->RowWidth("Form1", "List1", row);
        if (!widths) GTEST_SKIP() << "this window system draws no text";
        EXPECT_LE(widths->first, widths->second) << list.Rows[row];
    }
}

TEST_P(Conformance, OnlyTheShowButtonHasATip) {
    Open("Form1");
    Open("Text");
    const auto tips = driver_->ToolTips("Form1");
    if (!tips) GTEST_SKIP() << "this window system shows no tips";
    using Tips = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(*tips, (Tips{{"Command1", "Yandan komut seçerek göster butonuna basınız."}}));
    EXPECT_EQ(driver_->ToolTips("Text"), Tips{});
}

// Output boxes: a thin flat border, the text from the top.

TEST_P(Conformance, OutputBoxesHaveAOnePixelBorderAndTheirTextFromTheTop) {
    Open("Form1");
    ASSERT_EQ(Native("Form1").SetText(Index("Form1", "Label1"), "Ş"), StatusOk);
    driver_->Pump();
    const auto box = driver_->Capture("Form1", "Label1");
    if (!box) GTEST_SKIP() << "this window system draws no pixels";
    // The outermost ring is one colour all round; one pixel in, the box's own colour.
    const std::uint32_t line = box->At(0, 0);
    const std::uint32_t inside = box->At(1, box->Height / 2);
    int offLine = 0;
    for (int x = 0; x < box->Width; ++x) {
        offLine += (box->At(x, 0) != line) + (box->At(x, box->Height - 1) != line);
    }
    for (int y = 0; y < box->Height; ++y) {
        offLine += (box->At(0, y) != line) + (box->At(box->Width - 1, y) != line);
    }
    EXPECT_EQ(offLine, 0) << "pixels of the outer ring that differ from its top-left corner";
    EXPECT_NE(inside, line);
    EXPECT_EQ(box->At(box->Width - 2, box->Height / 2), inside) << "a second line inside";
    EXPECT_EQ(box->At(box->Width / 2, box->Height - 2), inside) << "a second line inside";
    // White text on dark red: the first row with white in it lies in the top third.
    int firstTextRow = -1;
    for (int y = 2; y < box->Height - 2 && firstTextRow < 0; ++y) {
        for (int x = 2; x < box->Width - 2; ++x) {
            if (IsLight(box->At(x, y))) {
                firstTextRow = y;
                break;
            }
        }
    }
    ASSERT_GE(firstTextRow, 0) << "no text drawn";
    EXPECT_LT(firstTextRow, box->Height / 3);
}

// Timers and destroy.

TEST_P(Conformance, AnEnabledTimerTicksAndDestroyStopsEverything) {
    Open("Text");
    const auto ticks = [&] {
        const auto& events = windows_.at("Text").Events.Received;
        return std::count_if(events.begin(), events.end(),
                             [](const auto& event) { return event.second == Event::Timer; });
    };
    driver_->Wait(milliseconds(300));
    EXPECT_GE(ticks(), 2);
    ASSERT_EQ(Native("Text").Destroy(), StatusOk);
    driver_->Pump();
    EXPECT_FALSE(driver_->IsShown("Text"));
    const auto afterDestroy = ticks();
    driver_->Wait(milliseconds(200));
    EXPECT_EQ(ticks(), afterDestroy);
}

// Processes.

TEST_P(Conformance, AProgramThatIsNotThereFailsAsNotFound) {
    std::uint32_t processId = 0;
    const Status status = driver_->System().StartProcess("avo-no-such-program.exe --flag",
                                                         kShowMinimizedActivated, processId);
    EXPECT_EQ(status, StatusFileNotFound);
    EXPECT_STREQ(StatusReason(status), "not found");
}

INSTANTIATE_TEST_SUITE_P(, Conformance, ::testing::Values(BackendUnderTest()),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace avo::conformance
