// The sheet's change record, which the reference index replays when it is
// next asked.
#include <gtest/gtest.h>

#include <vector>

#include "core/sheet/SheetGrid.h"

namespace {

std::vector<std::vector<int>> Record(const SheetGrid& grid)
{
    std::vector<std::vector<int>> out;
    for (const SSheetChange& c : grid.Changes())
        out.push_back({c.m_eKind, c.m_nFirst, c.m_nCount});
    return out;
}

TEST(SheetChangeRecord, InOrderOncePerRowAndRound)
{
    const int TEXT = SSheetChange::TEXT, INS = SSheetChange::ROWS_INSERTED, REM = SSheetChange::ROWS_REMOVED;
    SheetGrid grid;
    EXPECT_TRUE(grid.AllChanged());  // a new grid: read everything
    grid.SetRows(10);
    grid.ClearChanges();
    grid.SetTextMatrix(2, COL_FORMULA, "1");
    grid.SetTextMatrix(2, COL_REF, "a");       // the same row again
    grid.SetTextMatrix(3, COL_POSITION, "x");  // not a column the index reads
    grid.SetTextMatrix(3, COL_REF, "");        // no change
    grid.InsertRowsAt(1, 2);
    grid.SetTextMatrix(4, COL_FORMULA, "2");  // row 2 moved here: recorded already
    grid.SetTextMatrix(5, COL_REF, "b");
    grid.RemoveRowsAt(1, 1);
    grid.SetRows(12);
    EXPECT_EQ(Record(grid), (std::vector<std::vector<int>>{{TEXT, 2, 1}, {INS, 1, 2}, {TEXT, 5, 1}, {REM, 1, 1}, {INS, 11, 1}}));

    grid.ClearChanges();
    grid.SetTextMatrix(3, COL_FORMULA, "3");  // a new round records it again
    EXPECT_EQ(Record(grid), (std::vector<std::vector<int>>{{TEXT, 3, 1}}));

    grid.Clear();
    EXPECT_TRUE(grid.AllChanged());
    EXPECT_TRUE(grid.Changes().empty());
    grid.ClearChanges();
    EXPECT_FALSE(grid.HasChanges());

    // Nobody reads it: the record stops growing.
    for (int i = 0; i < 3000; ++i) {
        grid.InsertRowsAt(1, 1);
        grid.RemoveRowsAt(1, 1);
    }
    EXPECT_TRUE(grid.AllChanged());
    EXPECT_TRUE(grid.Changes().empty());
}

}  // namespace
