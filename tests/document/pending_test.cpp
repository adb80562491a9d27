// The detail grid's row marks, on every back-end: the mark following the clerk's typing
// and a proration. What each purchase line may still be granted (the pending column,
// after intake and when a saved note is shown) is guarded end to end by the intake and
// load scenarios.
#include "bonus/proration.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::NoteScreen;

namespace {

class PendingTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.open(); }
    NoteScreen p{GetParam()};
};

// Guards against a mark that lags the clerk's typing, flags a bonus still within the
// pending amount in whole units, or is not told to the views.
TEST_P(PendingTest, MarkFollowsTheBonusAsTypedAndProrated)
{
    p.newNote(QStringLiteral("C000000002"));
    p.frm->ssTabFichas().setActivePage(1); // the lines page, where the grid takes keys
    controls::Grid &grid = p.grid();
    const int row = p.rowOf("BT-001", "27", "NEG"); // 986 pending
    std::vector<int> told;
    grid.observers().add([&](const controls::ModelChange &c) {
        if (c.aspect == controls::Aspect::Cell && c.column == -1 && c.row >= 0)
            told.push_back(c.row);
    });

    grid.editCell(row, p.column("BON_IMPORTE"), QStringLiteral("850")); // 986.00 with tax
    EXPECT_FALSE(grid.rowMarked(row));
    grid.editCell(row, p.column("BON_IMPORTE"), QStringLiteral("851")); // 987.16
    EXPECT_TRUE(grid.rowMarked(row));
    EXPECT_EQ(std::vector<int>{row}, told);
    grid.editCell(row, p.column("BON_PORCENTAJE"), QStringLiteral("10")); // 100
    EXPECT_FALSE(grid.rowMarked(row));

    // Every row its own base: only BT-001 27 (1,160 with tax) exceeds what is left.
    ASSERT_EQ(bonus::ProrationResult::Done,
              bonus::prorate(grid, bonus::Totals::from(p.frm->form()), bonus::ProrationBasis::Importe, 4940));
    for (int r = 0; r < grid.rowCount(); ++r)
        EXPECT_EQ(r == row, grid.rowMarked(r)) << r;
}

INSTANTIATE_TEST_SUITE_P(Backends, PendingTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
