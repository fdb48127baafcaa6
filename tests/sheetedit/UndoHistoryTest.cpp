#include <gtest/gtest.h>

#include "TestHost.h"
#include "sheet/ClipboardOps.h"

TEST(UndoHistory, KeepsTheLastFifteenSteps)
{
    CTestHost host;
    for (int i = 1; i <= 16; ++i)
        host.Edit(i, COL_POSITION, "p" + std::to_string(i));
    for (int i = 0; i < 16; ++i)
        host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_POSITION), "p1");
    for (int i = 2; i <= 16; ++i)
        EXPECT_EQ(host.m_Grid.TextMatrix(i, COL_POSITION), "") << i;
    EXPECT_FALSE(host.m_History.CanUndo());

    // Redo walks forward again, each step returning the same state.
    for (int i = 0; i < 15; ++i)
        host.m_History.RedoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(16, COL_POSITION), "p16");
    EXPECT_FALSE(host.m_History.CanRedo());
    host.m_History.RedoStep(host);
    EXPECT_EQ(host.m_History.Top(), 14);
}

TEST(UndoHistory, AnEditAfterAnUndoClearsRedo)
{
    CTestHost host;
    host.Edit(2, COL_FORMULA, "1+2");
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "1+2=3.00");
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "");
    EXPECT_TRUE(host.m_History.CanRedo());
    host.m_History.RedoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "1+2=3.00");
    host.m_History.UndoStep(host);
    host.Edit(3, COL_FORMULA, "4");
    EXPECT_FALSE(host.m_History.CanRedo());
    host.m_History.RedoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "");
}

TEST(UndoHistory, EditsLeftWhileNavigatingAreNotRecorded)
{
    CTestHost host;
    host.Edit(2, COL_POSITION, "a");
    host.MoveCurrentCell(3, COL_POSITION);
    host.m_Editor.Open("b");
    host.SetNavigating(true);
    host.MoveCurrentCell(4, COL_POSITION);
    host.SetNavigating(false);
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_POSITION), "b");
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_POSITION), "");
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_POSITION), "b");
}

TEST(UndoHistory, DeletedRowsComeBackWithTheirTextsButWithoutNumbers)
{
    CTestHost host;
    host.MoveCurrentCell(3, COL_POSITION);
    host.m_Summary.ToggleSummary();
    host.m_Grid.SetTextMatrix(4, COL_SIZE, "C20");
    host.m_Grid.SetTextMatrix(4, COL_FORMULA, "2=2.00");
    host.m_Grid.SetTextMatrix(4, COL_UNIT, "m3");
    host.m_Summary.RefreshItemOf(4, COL_SIZE);
    host.m_Grid.SetTextMatrix(6, COL_POSITION, "below");
    const std::string total = host.m_Grid.TextMatrix(3, COL_FORMULA);
    ASSERT_EQ(total, "C20=2.00;");

    host.Select(3, 1, 4, 1);
    host.DeleteRows();
    EXPECT_EQ(host.m_Grid.TextMatrix(4, COL_POSITION), "below");
    EXPECT_EQ(host.m_Grid.Rows(), 34);

    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.Rows(), 36);
    EXPECT_EQ(host.Block(3, 0, 4, 4), std::string(",,") + testtext::SUMMARY + "," + total + ",m3|,,C20,2=2.00,m3");
    EXPECT_EQ(host.m_Grid.TextMatrix(6, COL_POSITION), "below");

    host.m_History.RedoStep(host);
    EXPECT_EQ(host.m_Grid.Rows(), 34);
    EXPECT_EQ(host.m_Grid.TextMatrix(4, COL_POSITION), "below");
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_FORMULA), "");
}

TEST(UndoHistory, UndoingANumberingWithInsertedRowRemovesTheRowAgain)
{
    CTestHost host;
    host.Edit(5, COL_FORMULA, "7");
    host.Edit(8, COL_POSITION, "later");
    host.MoveCurrentCell(5, COL_POSITION);
    host.m_Summary.ToggleSummary();
    ASSERT_EQ(host.m_Grid.TextMatrix(6, COL_FORMULA), "7=7.00");
    ASSERT_EQ(host.m_Grid.TextMatrix(9, COL_POSITION), "later");
    // Once the inserted row is gone, the older steps find their rows where
    // they were recorded.
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_FORMULA), "7=7.00");
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_POSITION), "later");
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_POSITION), "");
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_FORMULA), "");
}

TEST(UndoHistory, PasteUndoneAndRedoneWithoutAsking)
{
    CTestHost host;
    host.m_Grid.SetTextMatrix(2, COL_POSITION, "old");
    CMemoryClipboard clipboard;
    clipboard.SetText("new\tx");
    CClipboardOps ops(host, clipboard);
    host.MoveCurrentCell(2, COL_POSITION);
    host.m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    ops.Paste();
    EXPECT_EQ(host.Block(2, 1, 2, 2), "new,x");
    host.m_History.UndoStep(host);
    EXPECT_EQ(host.Block(2, 1, 2, 2), "old,");
    host.m_History.RedoStep(host);
    EXPECT_EQ(host.Block(2, 1, 2, 2), "new,x");
    EXPECT_EQ(host.m_Prompt.m_Questions.size(), 1u);
}

TEST(UndoHistory, DeletingTheLowerPartOfTheSheetComesBackWhole)
{
    // More rows come back than are left below the first one, or the rows
    // ran to the end of the sheet.
    for (int last : {37, 39}) {
        CTestHost host(40);
        for (int r = 1; r < 40; ++r)
            host.m_Grid.SetTextMatrix(r, COL_POSITION, std::to_string(r));
        host.Select(10, 1, last, 1);
        host.DeleteRows();
        ASSERT_EQ(host.m_Grid.Rows(), 40 - (last - 9));
        host.m_History.UndoStep(host);
        EXPECT_EQ(host.m_Grid.Rows(), 40);
        for (int r = 1; r < 40; ++r)
            EXPECT_EQ(host.m_Grid.TextMatrix(r, COL_POSITION), std::to_string(r)) << r;
        host.m_History.RedoStep(host);
        EXPECT_EQ(host.m_Grid.Rows(), 40 - (last - 9));
        EXPECT_EQ(host.m_Grid.TextMatrix(9, COL_POSITION), "9");
        EXPECT_EQ(host.m_Grid.TextMatrix(10, COL_POSITION), last == 37 ? "38" : "");
    }
}
