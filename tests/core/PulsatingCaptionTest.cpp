#include <vector>

#include "SimFixture.h"

namespace avo::testing {
namespace {

class PulsatingCaption : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        OpenAbout();
    }

    // The caption's size after each of the next `ticks` ticks.
    std::vector<PointSize> Sizes(int ticks) {
        std::vector<PointSize> sizes;
        for (int i = 0; i < ticks; ++i) {
            sim.AdvanceTime(30);
            sizes.push_back(CaptionSize());
        }
        return sizes;
    }
};

// Shrinking first, the caption hands over in its first tick, then swings from 1.25 to 20.25
// points and back, handing over in the tick that crosses a limit.
TEST_F(PulsatingCaption, SwingsBetween1_25And20_25In38Ticks) {
    EXPECT_EQ(CaptionSize(), Pt(22500));
    sim.AdvanceTime(29);
    EXPECT_EQ(CaptionSize(), Pt(22500));
    sim.AdvanceTime(1);
    EXPECT_EQ(CaptionSize(), Pt(12500));
    EXPECT_TRUE(GrowPhase());
    EXPECT_FALSE(ShrinkPhase());
    std::vector<PointSize> sizes = Sizes(18);
    EXPECT_TRUE(GrowPhase()) << "at 19.25";
    sizes.push_back(Sizes(1)[0]);
    EXPECT_TRUE(ShrinkPhase()) << "past 20";
    EXPECT_FALSE(GrowPhase()) << "past 20";
    for (const PointSize size : Sizes(19)) sizes.push_back(size);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(sizes[i], Pt(22500 + 10000 * i)) << "grow tick " << i;
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(sizes[19 + i], Pt(192500 - 10000 * i)) << "shrink tick " << i;
    EXPECT_TRUE(GrowPhase());
    EXPECT_EQ(sim.Now(), 30 * 39);
}

// A size exactly at its limit stays there for good; a tick beyond it only hands over.
TEST_F(PulsatingCaption, StaysAtItsLimitAndOnlyHandsOverBeyondIt) {
    for (const auto& [size, grow] : {std::pair{200000, true}, std::pair{20000, false}}) {
        SCOPED_TRACE(Pt(size).ToString());
        ForceCaption(Pt(size), grow);
        for (const PointSize shown : Sizes(50)) EXPECT_EQ(shown, Pt(size));
        EXPECT_EQ(GrowPhase(), grow);
        EXPECT_EQ(ShrinkPhase(), !grow);
    }
    for (const auto& [size, grow] : {std::pair{250000, true}, std::pair{5000, false}}) {
        SCOPED_TRACE(Pt(size).ToString());
        ForceCaption(Pt(size), grow);
        sim.AdvanceTime(30);
        EXPECT_EQ(CaptionSize(), Pt(size));
        EXPECT_EQ(GrowPhase(), !grow);
        EXPECT_EQ(ShrinkPhase(), grow);
    }
}

TEST_F(PulsatingCaption, ReopeningStartsAgainFromTheStoredSize) {
    sim.AdvanceTime(30 * 25);
    ClickExitPicture();
    OpenAbout();
    EXPECT_EQ(CaptionSize(), Pt(22500));
    EXPECT_TRUE(ShrinkPhase());
    EXPECT_FALSE(GrowPhase());
    EXPECT_EQ(Sizes(1)[0], Pt(12500));
}

// A font system that keeps whole pixels at 96 DPI reports 1.25 pt as 1.5 pt and 3.25 pt as
// 3 pt: each step then starts from the rounded size, so the caption moves 0.75 pt a tick.
TEST(PulsatingCaptionRounded, StepsFromTheSizeTheFontReports) {
    sim::SimWindowSystem sim;
    sim.SetFontSystem(sim::SimWindowSystem::WholePixelsAt96Dpi);
    const RunningProgram program(sim);
    ASSERT_TRUE(sim.Click("Form1", "Command2"));

    sim.AdvanceTime(30);
    EXPECT_EQ(sim.FontSize("Text", "Label1"), Pt(15000));
    EXPECT_TRUE(sim.TimerEnabled("Text", "Timer1"));
    std::vector<PointSize> grown;
    while (sim.TimerEnabled("Text", "Timer1") && grown.size() < 100) {
        sim.AdvanceTime(30);
        grown.push_back(sim.FontSize("Text", "Label1"));
    }
    ASSERT_EQ(grown.size(), 25u);
    for (std::size_t i = 0; i < grown.size(); ++i) EXPECT_EQ(grown[i], Pt(22500 + 7500 * i));
    EXPECT_EQ(grown.back(), Pt(202500));

    sim.AdvanceTime(30);
    EXPECT_EQ(sim.FontSize("Text", "Label1"), Pt(195000));
}

TEST(PointSizeText, PrintsWithoutTrailingZeros) {
    EXPECT_EQ(Pt(22500).ToString(), "2.25");
    EXPECT_EQ(Pt(200000).ToString(), "20");
    EXPECT_EQ(Pt(-12500).ToString(), "-1.25");
    EXPECT_EQ(Pt(500).ToString(), "0.05");
    EXPECT_EQ(PointSize::FromDouble(9.75), Pt(97500));
}

}  // namespace
}  // namespace avo::testing
