#include <gtest/gtest.h>

#include "EditSession.h"

TEST(RowCommands, DeletionAcrossHeadingsRenumbersAndTotalsTheItemsLeft)
{
    SEditSession host;
    const std::pair<int, const char*> items[] = {{2, "1"}, {5, "2"}, {8, "4"}, {11, "8"}};
    for (const auto& item : items) {
        host.MoveCurrentCell(item.first, COL_POSITION);
        host.Run(cmdid::TOGGLE_SUMMARY);
        host.Edit(item.first + 1, COL_FORMULA, item.second);
    }
    // The end of item 1, item 2 whole and the heading of item 3: its rows
    // join item 1, and item 4 becomes item 2.
    host.Select(4, COL_POSITION, 8, COL_POSITION);
    host.Run(cmdid::DELETE_ROWS);
    EXPECT_EQ(host.m_Grid.Rows(), 31);
    EXPECT_EQ(host.Block(2, COL_SEQ, 7, COL_SEQ), "1||||2|");
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "=5.00");
    EXPECT_EQ(host.m_Grid.TextMatrix(6, COL_FORMULA), "=8.00");
    EXPECT_EQ(host.m_Summary.ItemEntries().size(), 2u);
    EXPECT_EQ(host.m_History.KindAt(host.m_History.Top()), UNDO_DELETE_ROWS);

    // Every data row selected: nothing goes.
    const int steps = host.m_History.Top();
    host.Select(1, COL_POSITION, host.m_Grid.Rows() - 1, COL_POSITION);
    host.Run(cmdid::DELETE_ROWS);
    EXPECT_EQ(host.m_Grid.Rows(), 31);
    EXPECT_EQ(host.m_History.Top(), steps);
}
