#include <set>
#include <string>

#include "SimFixture.h"
#include "reference/CommandCatalogue.h"
#include "reference/Form1.h"

namespace avo::testing {
namespace {

TEST(CommandCatalogue, KeepsItsInvariants) {
    std::set<std::string_view> listTexts, descriptions;
    for (std::size_t i = 0; i < CommandCatalogue.size(); ++i) {
        const CommandEntry& entry = CommandCatalogue[i];
        SCOPED_TRACE(entry.ListText);
        EXPECT_EQ(entry.Index, static_cast<int>(i));
        EXPECT_TRUE(listTexts.insert(entry.ListText).second);
        EXPECT_TRUE(descriptions.insert(entry.Description).second);
        EXPECT_EQ(entry.Alias.front(), ' ');
        EXPECT_EQ(entry.Alias.back(), ' ');
        EXPECT_NE(entry.Alias[1], ' ');
        EXPECT_EQ(entry.Description.back(), ' ');
        EXPECT_NE(entry.Description[entry.Description.size() - 2], ' ');
        EXPECT_EQ(entry.Alias == " - ", i >= 46);
    }
    EXPECT_EQ(CommandCatalogue.size(), 49u);
}

TEST(CommandCatalogue, ListShowsRowsInCatalogueOrder) {
    const ControlDescription& list = form1::Description().Controls[0];
    ASSERT_EQ(list.Name, "List1");
    ASSERT_EQ(list.Rows.size(), 49u);
    EXPECT_EQ(list.Rows.front(), "Line");
    EXPECT_EQ(list.Rows[15], "Insert");
    EXPECT_EQ(list.Rows.back(), "Ctrl+O");
    for (std::size_t i = 0; i < list.Rows.size(); ++i) {
        EXPECT_EQ(list.Rows[i], CommandCatalogue[i].ListText);
    }
}

using ShowSelected = SimFixture;

// A press with no row selected writes nothing (from the start: a lifecycle case).
TEST_F(ShowSelected, NothingSelectedChangesNothing) {
    ShowRow(3);
    ASSERT_TRUE(sim.SelectRow("Form1", "List1", -1));
    ASSERT_TRUE(sim.Click("Form1", "Command1"));
    EXPECT_EQ(Alias(), " O ");  // the boxes are never cleared
}

TEST_F(ShowSelected, AsksEveryRowInOrderAndWritesAliasBeforeDescription) {
    ASSERT_TRUE(sim.SelectRow("Form1", "List1", 5));
    sim.ClearCalls();
    ASSERT_TRUE(sim.Click("Form1", "Command1"));

    std::vector<std::string> calls;
    for (const sim::Call& call : sim.Calls()) {
        calls.push_back(call.Control + "." + sim::OperationName(call.Op));
    }
    ASSERT_EQ(calls.size(), 49u + 2u);
    for (std::size_t i = 0; i <= 5; ++i) EXPECT_EQ(calls[i], "List1.IsRowSelected");
    EXPECT_EQ(calls[6], "Label1.SetText");
    EXPECT_EQ(calls[7], "Label3.SetText");
    for (std::size_t i = 8; i < calls.size(); ++i) EXPECT_EQ(calls[i], "List1.IsRowSelected");
}

}  // namespace
}  // namespace avo::testing
