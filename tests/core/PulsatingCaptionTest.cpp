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

TEST_F(PulsatingCaption, FirstTickShrinksAndHandsOver) {
    EXPECT_EQ(CaptionSize(), Pt(22500));
    sim.AdvanceTime(29);
    EXPECT_EQ(CaptionSize(), Pt(22500));
    sim.AdvanceTime(1);
    EXPECT_EQ(CaptionSize(), Pt(12500));
    EXPECT_TRUE(GrowPhase());
    EXPECT_FALSE(ShrinkPhase());
}

TEST_F(PulsatingCaption, SwingsBetween1_25And20_25In38Ticks) {
    sim.AdvanceTime(30);
    const std::vector<PointSize> sizes = Sizes(38);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(sizes[i], Pt(22500 + 10000 * i)) << "grow tick " << i;
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(sizes[19 + i], Pt(192500 - 10000 * i)) << "shrink tick " << i;
    EXPECT_TRUE(GrowPhase());
    EXPECT_EQ(sim.Now(), 30 * 39);
}

TEST_F(PulsatingCaption, HandsOverInTheTickThatCrossesTheLimit) {
    sim.AdvanceTime(30 + 30 * 18);
    EXPECT_EQ(CaptionSize(), Pt(192500));
    EXPECT_TRUE(GrowPhase());
    sim.AdvanceTime(30);
    EXPECT_EQ(CaptionSize(), Pt(202500));
    EXPECT_TRUE(ShrinkPhase());
    EXPECT_FALSE(GrowPhase());
}

struct Stall {
    std::int64_t Size;
    bool Grow;
};

void PrintTo(const Stall& stall, std::ostream* out) {
    *out << Pt(stall.Size).ToString() << (stall.Grow ? " growing" : " shrinking");
}

class PulsatingCaptionStall : public PulsatingCaption,
                              public ::testing::WithParamInterface<Stall> {};

TEST_P(PulsatingCaptionStall, SizeExactlyAtTheLimitStaysForever) {
    ForceCaption(Pt(GetParam().Size), GetParam().Grow);
    for (const PointSize size : Sizes(50)) EXPECT_EQ(size, Pt(GetParam().Size));
    EXPECT_EQ(GrowPhase(), GetParam().Grow);
    EXPECT_EQ(ShrinkPhase(), !GetParam().Grow);
}

INSTANTIATE_TEST_SUITE_P(Limits, PulsatingCaptionStall,
                         ::testing::Values(Stall{200000, true}, Stall{20000, false}));

using BeyondLimit = Stall;

class PulsatingCaptionBeyond : public PulsatingCaption,
                               public ::testing::WithParamInterface<BeyondLimit> {};

TEST_P(PulsatingCaptionBeyond, TickBeyondItsLimitOnlyHandsOver) {
    ForceCaption(Pt(GetParam().Size), GetParam().Grow);
    sim.AdvanceTime(30);
    EXPECT_EQ(CaptionSize(), Pt(GetParam().Size));
    EXPECT_EQ(GrowPhase(), !GetParam().Grow);
    EXPECT_EQ(ShrinkPhase(), GetParam().Grow);
}

INSTANTIATE_TEST_SUITE_P(Limits, PulsatingCaptionBeyond,
                         ::testing::Values(BeyondLimit{250000, true}, BeyondLimit{5000, false}));

TEST_F(PulsatingCaption, ReopeningStartsAgainFromTheStoredSize) {
    sim.AdvanceTime(30 * 25);
    ClickExitPicture();
    OpenAbout();
    EXPECT_EQ(CaptionSize(), Pt(22500));
    EXPECT_TRUE(ShrinkPhase());
    EXPECT_FALSE(GrowPhase());
    EXPECT_EQ(Sizes(1)[0], Pt(12500));
}

TEST_F(PulsatingCaption, UnloadStopsTheTimers) {
    ClickExitPicture();
    sim.ClearCalls();
    sim.AdvanceTime(3000);
    EXPECT_TRUE(sim.Calls().empty());
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
