#include <gtest/gtest.h>

#include "EditSession.h"
#include "core/edit/ClipboardOps.h"

TEST(UndoHistory, UndoingANumberingWithInsertedRowRemovesTheRowAgain)
{
    SEditSession host;
    host.Edit(5, COL_FORMULA, "7");
    host.Edit(8, COL_POSITION, "later");
    host.MoveCurrentCell(5, COL_POSITION);
    host.Run(cmdid::TOGGLE_SUMMARY);
    ASSERT_EQ(host.m_Grid.TextMatrix(6, COL_FORMULA), "7=7.00");
    ASSERT_EQ(host.m_Grid.TextMatrix(9, COL_POSITION), "later");
    // Once the inserted row is gone, the older steps find their rows where
    // they were recorded.
    host.Run(cmdid::EDIT_UNDO);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_FORMULA), "7=7.00");
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_POSITION), "later");
    host.Run(cmdid::EDIT_UNDO);
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_POSITION), "");
    host.Run(cmdid::EDIT_UNDO);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_FORMULA), "");
}

TEST(UndoHistory, PasteUndoneAndRedoneWithoutAsking)
{
    SEditSession host;
    host.m_Grid.SetTextMatrix(2, COL_POSITION, "old");
    host.m_Clipboard.SetText("new\tx");
    host.MoveCurrentCell(2, COL_POSITION);
    host.m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    host.Run(cmdid::EDIT_PASTE);
    EXPECT_EQ(host.Block(2, 1, 2, 2), "new,x");
    host.Run(cmdid::EDIT_UNDO);
    EXPECT_EQ(host.Block(2, 1, 2, 2), "old,");
    host.Run(cmdid::EDIT_REDO);
    EXPECT_EQ(host.Block(2, 1, 2, 2), "new,x");
    EXPECT_EQ(host.m_Prompt.m_Questions.size(), 1u);
}

TEST(UndoHistory, DeletingTheLowerPartOfTheSheetComesBackWhole)
{
    // More rows come back than are left below the first one, or the rows
    // ran to the end of the sheet.
    for (int last : {37, 39}) {
        SEditSession host(40);
        for (int r = 1; r < 40; ++r)
            host.m_Grid.SetTextMatrix(r, COL_POSITION, std::to_string(r));
        host.Select(10, 1, last, 1);
        host.Run(cmdid::DELETE_ROWS);
        ASSERT_EQ(host.m_Grid.Rows(), 40 - (last - 9));
        host.Run(cmdid::EDIT_UNDO);
        EXPECT_EQ(host.m_Grid.Rows(), 40);
        for (int r = 1; r < 40; ++r)
            EXPECT_EQ(host.m_Grid.TextMatrix(r, COL_POSITION), std::to_string(r)) << r;
        host.Run(cmdid::EDIT_REDO);
        EXPECT_EQ(host.m_Grid.Rows(), 40 - (last - 9));
        EXPECT_EQ(host.m_Grid.TextMatrix(9, COL_POSITION), "9");
        EXPECT_EQ(host.m_Grid.TextMatrix(10, COL_POSITION), last == 37 ? "38" : "");
    }
}
