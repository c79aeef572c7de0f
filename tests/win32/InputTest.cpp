#include <windows.h>

#include "Win32Fixture.h"
#include "reference/CommandCatalogue.h"

namespace avo::win32::testing {
namespace {

// Row -1 is no selection at all: the boxes stay as they were.
class ShowCommand : public ProgramFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ShowCommand, PutsTheSelectedRowsAliasAndDescriptionInTheBoxes) {
    const int row = GetParam();
    ShowRow(row);
    const std::string_view alias = row < 0 ? "" : CommandCatalogue[row].Alias;
    const std::string_view description = row < 0 ? "" : CommandCatalogue[row].Description;
    EXPECT_EQ(Form1Text("Label1"), alias);
    EXPECT_EQ(Form1Text("Label3"), description);
}

// First and last rows, Turkish letters, doubled spaces inside and in front, a short box text.
INSTANTIATE_TEST_SUITE_P(Rows, ShowCommand, ::testing::Values(0, 5, 32, 44, 46, 48, -1));

}  // namespace
}  // namespace avo::win32::testing
