#include "ConformanceSuite.h"

namespace avo::conformance {

// A picture button or picture box is called by its word, a label by its text, and an output
// box by its heading, before and after it shows a text; the box's text is read as its value.
TEST_P(Conformance, ScreenReadersCallEachControlByItsWordsOrItsHeading) {
    Open("Form1");
    Open("Text");
    const struct {
        const char* Window;
        const char* Control;
        const char* Name;
    } names[] = {{"Form1", "Command1", "Göster"}, {"Form1", "Command2", "Hakkında"},
                 {"Form1", "Command3", "Çıkış"},  {"Form1", "Label1", "KISAYOL"},
                 {"Form1", "Label3", "İŞLEVİ"},   {"Form1", "Label5", "Kavrelonix"},
                 {"Text", "Picture1", "Çıkış"}};
    int read = 0;
    for (const auto& [window, control, name] : names) {
        const auto heard = driver_->AccessibleName(window, control);
        if (!heard) continue;  // a label drawn on the surface alone, where no object is made
        ++read;
        EXPECT_EQ(*heard, name) << window << "." << control;
    }
    if (read == 0) GTEST_SKIP() << "no screen reader reaches this window system";
    for (const auto& [box, heading] :
         {std::pair{"Label1", "KISAYOL"}, std::pair{"Label3", "İŞLEVİ"}}) {
        EXPECT_EQ(driver_->AccessibleText("Form1", box), "") << box << " before any text";
        ASSERT_EQ(Native("Form1").SetText(Index("Form1", box), " F10 "), StatusOk);
        EXPECT_EQ(driver_->AccessibleText("Form1", box), " F10 ") << box;
        EXPECT_EQ(driver_->AccessibleName("Form1", box), heading) << box << " keeps its name";
    }
}

}  // namespace avo::conformance
