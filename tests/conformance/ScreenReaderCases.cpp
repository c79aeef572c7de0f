#include "ConformanceSuite.h"
#include "reference/CommandCatalogue.h"

namespace avo::conformance {

// A picture button or picture box is called by its word, the list and a label by their
// words, and an output box by its heading, before and after it shows a text. Every alias and
// description of the catalogue is kept in its box and read as its value exactly as stored.
TEST_P(Conformance, ScreenReadersCallEachControlByItsWordsOrItsHeading) {
    Open("Form1");
    Open("Text");
    const struct {
        const char* Window;
        const char* Control;
        const char* Name;
    } names[] = {{"Form1", "List1", "Komutlar"},    {"Form1", "Command1", "Göster"},
                 {"Form1", "Command2", "Hakkında"}, {"Form1", "Command3", "Çıkış"},
                 {"Form1", "Label1", "KISAYOL"},    {"Form1", "Label3", "İŞLEVİ"},
                 {"Form1", "Label5", "Kavrelonix"}, {"Text", "Picture1", "Çıkış"}};
    int read = 0;
    for (const auto& [window, control, name] : names) {
        const auto heard = driver_->AccessibleName(window, control);
        if (!heard) continue;  // a label drawn on the surface alone, where no object is made
        ++read;
        EXPECT_EQ(*heard, name) << window << "." << control;
    }
    for (const char* box : {"Label1", "Label3"}) {
        EXPECT_EQ(driver_->AccessibleText("Form1", box), "") << box << " before any text";
    }
    for (const CommandEntry& entry : CommandCatalogue) {
        for (const auto& [box, text] :
             {std::pair{"Label1", entry.Alias}, std::pair{"Label3", entry.Description}}) {
            ASSERT_EQ(Native("Form1").SetText(Index("Form1", box), std::string(text)), StatusOk);
            std::string kept;
            ASSERT_EQ(Native("Form1").GetText(Index("Form1", box), kept), StatusOk);
            EXPECT_EQ(kept, text) << box;
            EXPECT_EQ(driver_->AccessibleText("Form1", box), text) << box;
        }
    }
    if (read == 0) GTEST_SKIP() << "no screen reader reaches this window system";
    for (const auto& [box, heading] :
         {std::pair{"Label1", "KISAYOL"}, std::pair{"Label3", "İŞLEVİ"}}) {
        EXPECT_EQ(driver_->AccessibleName("Form1", box), heading) << box << " keeps its name";
    }
}

}  // namespace avo::conformance
