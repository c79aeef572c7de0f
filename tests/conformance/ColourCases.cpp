#include "ConformanceSuite.h"

namespace avo::conformance {
namespace {

std::uint32_t PixelOf(Colour colour) {
    return static_cast<std::uint32_t>(RedOf(colour)) << 16 | GreenOf(colour) << 8 | BlueOf(colour);
}

int Brightness(std::uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
}

}  // namespace

// The list and the output boxes are drawn in their own colours, the list's rows included:
// white text on dark red, nothing of another colour behind the rows' text.
TEST_P(Conformance, TheListItsRowsAndTheBoxesShowTheirColours) {
    Open("Form1");
    const auto& controls = windows_.at("Form1").Description->Controls;
    const ControlDescription& listDescription = controls[Index("Form1", "List1")];
    const auto list = driver_->Capture("Form1", "List1");
    if (!list) GTEST_SKIP() << "this window system draws no pixels";
    const std::uint32_t back = PixelOf(listDescription.BackColour);
    const std::uint32_t fore = PixelOf(listDescription.ForeColour);
    // Clear of the frame and the scroll bar: the left half of the rows, top to bottom.
    int backPixels = 0, textPixels = 0, otherPixels = 0;
    for (int y = list->Height / 10; y < list->Height * 9 / 10; ++y) {
        for (int x = list->Width / 10; x < list->Width / 2; ++x) {
            const std::uint32_t pixel = list->At(x, y);
            if (pixel == back) {
                ++backPixels;
            } else if (Brightness(pixel) >= Brightness(fore) * 2 / 3) {
                ++textPixels;
            } else if (Brightness(pixel) < Brightness(back)) {
                ++otherPixels;  // darker than either: not the rows' colours
            }
        }
    }
    EXPECT_GT(textPixels, 0) << "no row text drawn";
    EXPECT_GT(backPixels, 4 * textPixels) << "the rows stand on another colour";
    EXPECT_EQ(otherPixels, 0);
    for (const char* box : {"Label1", "Label3"}) {
        const auto face = driver_->Capture("Form1", box);
        ASSERT_TRUE(face);
        EXPECT_EQ(face->At(face->Width / 2, face->Height / 2),
                  PixelOf(controls[Index("Form1", box)].BackColour))
            << box;
        EXPECT_EQ(face->At(0, 0), PixelOf(kLabelBorderColour)) << box;
    }
}

}  // namespace avo::conformance
