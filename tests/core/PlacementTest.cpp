#include <gtest/gtest.h>

#include <vector>

#include "platform/Placement.h"

namespace avo {
namespace {

constexpr PixelRect kWorkArea{0, 0, 1280, 1024};

TEST(Placement, CentresOnTheOwnerWhenAskedAndOneIsGivenElseOnTheWorkArea) {
    const PixelRect owner{100, 50, 657, 500};
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreOwner, 560, 349, kWorkArea, owner),
              (PixelRect{148, 125, 560, 349}));
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreOwner, 560, 349, kWorkArea, std::nullopt),
              (PixelRect{360, 337, 560, 349}));
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreScreen, 560, 349, kWorkArea, owner),
              (PixelRect{360, 337, 560, 349}))
        << "a window centred on the screen ignores the owner";
    // A work area that does not start at the screen's corner (a task bar on the left).
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreScreen, 100, 100, {40, 0, 1240, 1000},
                               std::nullopt),
              (PixelRect{610, 450, 100, 100}));
}

// On a 640 x 480 screen the main window (657 x 500 with its frame) would lie 10 pixels above
// the top edge, its title bar half off the screen.
TEST(Placement, AWindowLargerThanTheWorkAreaKeepsItsTopLeftCornerOnIt) {
    const PixelRect small{0, 0, 640, 480};
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreScreen, 657, 500, small, std::nullopt),
              (PixelRect{0, 0, 657, 500}));
    // Taller only: still centred across.
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreScreen, 600, 500, small, std::nullopt),
              (PixelRect{20, 0, 600, 500}));
    EXPECT_EQ(
        InitialPlacement(StartUpPosition::CentreScreen, 700, 400, {0, 30, 640, 450}, std::nullopt),
        (PixelRect{0, 55, 700, 400}));
    // Over an owner that was dragged up and left off the screen.
    EXPECT_EQ(InitialPlacement(StartUpPosition::CentreOwner, 560, 349, kWorkArea,
                               PixelRect{-300, -200, 657, 500}),
              (PixelRect{0, 0, 560, 349}));
}

TEST(Placement, TheOwnerIsTheActiveShownWindowElseTheFirstShownOne) {
    const PixelRect a{1, 1, 10, 10}, b{2, 2, 10, 10}, c{3, 3, 10, 10};
    using Others = std::vector<PlacementCandidate>;
    EXPECT_EQ(ChooseOwner(Others{}), std::nullopt);
    EXPECT_EQ(ChooseOwner(Others{{a, false, true}, {b, true, true}}), 1u);
    EXPECT_EQ(ChooseOwner(Others{{a, false, true}, {b, false, true}}), 0u);
    // Hidden and minimised windows own nothing, active or not.
    EXPECT_EQ(ChooseOwner(Others{{a, true, false}, {b, false, false}, {c, false, true}}), 2u);
    EXPECT_EQ(ChooseOwner(Others{{a, true, false}, {b, false, false}}), std::nullopt);
}

}  // namespace
}  // namespace avo
