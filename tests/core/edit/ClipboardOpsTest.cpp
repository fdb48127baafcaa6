#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "EditSession.h"
#include "core/edit/ClipboardOps.h"
#include "core/sheet/EditTexts.h"

namespace {

struct CClipboardFixture : ::testing::Test {
    SEditSession host;
    CMemoryClipboard& clipboard = host.m_Clipboard;

    std::string ClipboardText()
    {
        std::string text;
        clipboard.GetText(text);
        return text;
    }
    void PasteAt(int row, int col, const std::string& text)
    {
        clipboard.SetText(text);
        host.MoveCurrentCell(row, col);
        host.Run(cmdid::EDIT_PASTE);
    }
};

}  // namespace

TEST_F(CClipboardFixture, CopyJoinsCellsWithTabsAndRowsWithLineFeeds)
{
    host.m_Grid.SetTextMatrix(2, 1, "a");
    host.m_Grid.SetTextMatrix(2, 2, "b");
    host.m_Grid.SetTextMatrix(2, 3, "c\nc");
    host.m_Grid.SetTextMatrix(3, 1, "d");
    host.m_Grid.SetTextMatrix(3, 2, "e");
    host.m_Grid.SetTextMatrix(3, 3, "f");
    host.Select(3, 3, 2, 1);
    host.Run(cmdid::EDIT_COPY);
    EXPECT_EQ(ClipboardText(), "a\tb\tcc\nd\te\tf");

    // A summary row contributes empty cells.
    host.m_Grid.SetTextMatrix(3, COL_SEQ, "1");
    host.Run(cmdid::EDIT_COPY);
    EXPECT_EQ(ClipboardText(), "a\tb\tcc\n\t\t");
}

TEST_F(CClipboardFixture, OversizedCopyAndCutAreRefused)
{
    host.m_Grid.SetRows(20005);
    host.m_Grid.SetTextMatrix(5, 1, "keep");
    host.Select(1, 1, 20001, 1);
    host.Run(cmdid::EDIT_COPY);
    host.Run(cmdid::EDIT_CUT);
    EXPECT_EQ(host.m_Prompt.m_Messages,
              (std::vector<std::string>{edittext::COPY_TOO_MANY_ROWS, edittext::CUT_TOO_MANY_ROWS}));
    EXPECT_FALSE(clipboard.HasText());
    EXPECT_EQ(host.m_Grid.TextMatrix(5, 1), "keep");
    EXPECT_FALSE(host.m_History.CanUndo());
}

TEST_F(CClipboardFixture, PasteIntoOneCellFillsTheBlockAndGrowsTheSheet)
{
    // Pasted expressions are calculated as a commit calculates them.
    PasteAt(32, 2, "a\t2*3\tc\r\nd\t4=9\tf\r\n");
    EXPECT_EQ(host.Block(32, 2, 33, 4), "a,2*3=6.00,c|d,4=4.00,f");
    // Six rows beyond the block, then ten more as the editor passes the
    // expressions near the end.
    EXPECT_EQ(host.m_Grid.Rows(), 49);
    EXPECT_EQ(host.m_Grid.RowSel(), 33);
    EXPECT_EQ(host.m_Grid.ColSel(), 4);
    EXPECT_TRUE(host.m_Prompt.m_Questions.empty());

    PasteAt(5, 1, "x\ty");
    EXPECT_EQ(host.Block(5, 1, 5, 3), "x,y,");
}

TEST_F(CClipboardFixture, ShortTextRepeatsDownATallSelection)
{
    clipboard.SetText("1\t2\n3");
    host.Select(1, 1, 6, 3);
    host.Run(cmdid::EDIT_PASTE);
    EXPECT_EQ(host.Block(1, 1, 6, 3), "1,2,|3,,|1,2,|3,,|1,2,|3,,");
}

TEST_F(CClipboardFixture, PasteOnASummaryRowKeepsNumberAndTotal)
{
    host.MoveCurrentCell(2, 1);
    host.Run(cmdid::TOGGLE_SUMMARY);
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "C=1.00");
    host.m_Grid.SetTextMatrix(2, COL_REF, "r");
    host.m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    PasteAt(2, 1, "n\ts\tf\tu\tr2");
    EXPECT_EQ(host.Block(2, 0, 2, 5), "1,n,,C=1.00,,");
}

TEST_F(CClipboardFixture, PastedReferenceNamesAreCleaned)
{
    PasteAt(1, COL_REF, "12ab-Cd\n123\nABCD\nx1234567\n\xC7\xBD"
                        "q");
    // Row 3's name is already row 1's.
    EXPECT_EQ(host.Block(1, COL_REF, 5, COL_REF), "abcd|||x12345|q");
    // A name stored wrapped over two lines is the same name.
    host.m_Grid.SetTextMatrix(10, COL_REF, "zzz\nz");
    PasteAt(20, COL_REF, "ZZZZ");
    EXPECT_EQ(host.m_Grid.TextMatrix(20, COL_REF), "");
}

TEST_F(CClipboardFixture, OversizedClipboardTextChangesNothing)
{
    std::string tall;
    for (int i = 0; i < 20001; ++i)
        tall += "x\n";
    tall += "x";
    const std::string wide = "1\t2\t3\t4\t5\t6\t7";
    for (const std::string& text : {tall, wide}) {
        host.m_Prompt.m_Messages.clear();
        PasteAt(1, 1, text);
        EXPECT_EQ(host.m_Prompt.m_Messages, std::vector<std::string>{edittext::OUT_OF_SHEET});
        EXPECT_EQ(host.m_Grid.Rows(), 36);
        EXPECT_EQ(host.m_Grid.TextMatrix(1, 1), "");
        EXPECT_FALSE(host.m_History.CanUndo());
        EXPECT_FALSE(host.Modified());
    }
    // Six cells fit; 20000 lines fit, from any row of the sheet, but the
    // sheet does not grow past its last row.
    PasteAt(1, 1, "a\tb\t1\td\te\tf");
    EXPECT_EQ(host.Block(1, 1, 1, 5), "a,b,1=1.00,d,e");
    host.m_Prompt.m_Messages.clear();
    PasteAt(2, 1, tall.substr(4));
    EXPECT_TRUE(host.m_Prompt.m_Messages.empty());
    EXPECT_EQ(host.m_Grid.TextMatrix(20001, 1), "x");
    host.m_Grid.SetRows(SHEET_MAX_ROWS);
    PasteAt(45500, 1, tall.substr(4));
    EXPECT_EQ(host.m_Grid.TextMatrix(SHEET_MAX_ROWS - 1, 1), "x");
    PasteAt(45501, 2, tall.substr(4));
    EXPECT_EQ(host.m_Prompt.m_Messages, std::vector<std::string>{edittext::OUT_OF_SHEET});
    EXPECT_EQ(host.m_Grid.TextMatrix(45501, 2), "");
    EXPECT_EQ(host.m_Grid.Rows(), SHEET_MAX_ROWS);
}

TEST_F(CClipboardFixture, OverwriteRefusedWritesNothing)
{
    host.m_Grid.SetTextMatrix(34, 1, "old");
    PasteAt(34, 1, "new\nnext");
    ASSERT_EQ(host.m_Prompt.m_Questions, std::vector<std::string>{edittext::PASTE_OVERWRITE});
    EXPECT_EQ(host.m_Grid.TextMatrix(34, 1), "old");
    EXPECT_FALSE(host.m_History.CanUndo());
    // The growth and the wider selection stay.
    EXPECT_EQ(host.m_Grid.Rows(), 41);
    EXPECT_EQ(host.m_Grid.RowSel(), 35);
}

TEST_F(CClipboardFixture, ClipboardWithoutTextShowsItsMessage)
{
    host.MoveCurrentCell(1, 1);
    host.Run(cmdid::EDIT_PASTE);
    EXPECT_EQ(host.m_Prompt.m_Messages, std::vector<std::string>{edittext::CLIPBOARD_NOT_TEXT});
    clipboard.SetText("");
    host.Run(cmdid::EDIT_PASTE);
    EXPECT_EQ(host.m_Prompt.m_Messages.size(), 1u);
    EXPECT_FALSE(host.Modified());
}

TEST_F(CClipboardFixture, PasteRefreshesTheTotalsOfThePastedItems)
{
    host.MoveCurrentCell(1, 1);
    host.Run(cmdid::TOGGLE_SUMMARY);
    PasteAt(2, COL_SIZE, "C20\t1=1.00\tm3\nC20\t2=2.00\tm3");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_FORMULA), "C20=3.00;");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_UNIT), "m3");
}

TEST_F(CClipboardFixture, CutRemovesItemHeadingsAndClearSparesThem)
{
    for (int r : {2, 5, 8}) {
        host.MoveCurrentCell(r, 1);
        host.Run(cmdid::TOGGLE_SUMMARY);
    }
    host.m_Grid.SetTextMatrix(6, COL_POSITION, "p6");
    host.m_Grid.SetTextMatrix(6, COL_FORMULA, "1=1.00");

    host.Select(5, 1, 6, 3);
    host.Run(cmdid::EDIT_CLEAR);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_SIZE), testtext::SUMMARY);
    EXPECT_EQ(host.m_Grid.TextMatrix(6, COL_POSITION), "");
    host.Run(cmdid::EDIT_UNDO);
    EXPECT_EQ(host.m_Grid.TextMatrix(6, COL_POSITION), "p6");

    host.Select(5, 1, 6, 2);
    host.Run(cmdid::EDIT_CUT);
    EXPECT_EQ(ClipboardText(), "\t\np6\t");
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_SEQ), "");
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_FORMULA), "");
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_SEQ), "2");
    // Item 1 now reaches down to row 7 and takes row 6's value.
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "=1.00");
    EXPECT_EQ(host.m_Summary.ItemEntries().size(), 2u);
}

// A paste leaves every unit list as a refresh of all of them would, though
// it recomputes only its own items': random sheets whose lists may be out of
// date as read, then random commits (some leave their item's list behind),
// commits by the wheel, new and removed items, pastes and undo.
TEST(PastedUnitLists, AgreeWithAFullRefresh)
{
    const char* const texts[] = {"C20", "C30", "C\n20", "", "x", "1", "0", "2*3", "-1", "m3", "t"};
    std::mt19937 rng(5);
    auto text = [&]() { return std::string(texts[rng() % 11]); };
    auto between = [&](int a, int b) { return a + static_cast<int>(rng() % static_cast<unsigned>(b - a + 1)); };
    int pastes = 0;
    for (int round = 0; round < 80; ++round) {
        SEditSession host(30);
        SheetGrid& grid = host.m_Grid;
        int number = 0;
        for (int r = 1; r < 28; ++r) {
            if (rng() % 5 == 0) {
                grid.SetTextMatrix(r, COL_SEQ, std::to_string(++number));
                grid.SetTextMatrix(r, COL_SIZE, testtext::SUMMARY);
            } else {
                grid.SetTextMatrix(r, COL_SIZE, text());
                grid.SetTextMatrix(r, COL_FORMULA, text());
                grid.SetTextMatrix(r, COL_UNIT, text());
            }
        }
        host.m_Summary.RecomputeStretch(1, grid.Rows() - 1);
        for (int r = 1; r < grid.Rows(); ++r)
            if (CSummaryItems::IsSummaryRow(grid, r) && rng() % 3 == 0)
                grid.SetTextMatrix(r, COL_UNIT, text());  // as a file may hold it
        host.m_Summary.CheckUnitLists();

        for (int step = 0; step < 16; ++step) {
            const int row = between(1, grid.Rows() - 2);
            const int col = between(COL_SIZE, COL_UNIT);
            switch (rng() % 6) {
            case 0:
            case 1: host.Edit(row, col, text()); break;
            case 2:
                host.MoveCurrentCell(row, col);
                host.m_Session.TypeText(text());
                host.m_Session.PressKey(SHEETKEY_WHEEL_DOWN);
                break;
            case 3:
                host.MoveCurrentCell(row, COL_POSITION);
                host.Run(cmdid::TOGGLE_SUMMARY);
                break;
            case 4: host.Run(cmdid::EDIT_UNDO); break;
            default: {
                // Wide enough to reach the categories or units, the columns
                // the lists read, at the current cell or another one.
                int first = grid.Col();
                if (rng() % 2 || first > COL_UNIT) {
                    first = between(COL_POSITION, COL_UNIT);
                    host.MoveCurrentCell(row, first);
                }
                const int cells = between(first == COL_POSITION ? 2 : 1, 3);
                std::string block;
                for (int line = between(1, 3); line > 0; --line) {
                    for (int cell = cells; cell > 0; --cell) {
                        // A line break would start a line, an empty end
                        // would be cut off.
                        std::string pasted = text();
                        pasted.erase(std::remove(pasted.begin(), pasted.end(), '\n'), pasted.end());
                        if (pasted.empty())
                            pasted = "y";
                        block += pasted + (cell > 1 ? "\t" : "");
                    }
                    block += line > 1 ? "\n" : "";
                }
                host.m_Clipboard.SetText(block);
                host.m_Prompt.m_Answers.assign(1, CPrompt::ANSWER_YES);
                host.Run(cmdid::EDIT_PASTE);
                ++pastes;
                for (int s = 1; s < grid.Rows(); ++s) {
                    if (!CSummaryItems::IsSummaryRow(grid, s))
                        continue;
                    std::string units = host.m_Summary.UnitList(s + 1, CSummaryItems::ItemEnd(grid, s));
                    units.resize(units.size() >= 2 ? units.size() - 2 : 0);
                    ASSERT_EQ(grid.TextMatrix(s, COL_UNIT), units) << "round " << round << " step " << step << " row " << s;
                }
            }
            }
        }
    }
    EXPECT_GT(pastes, 100);
}

TEST(SplitClipboardText, TrimsTheEndAndSplitsCellsAndLines)
{
    using Lines = std::vector<std::vector<std::string>>;
    EXPECT_EQ(CClipboardOps::SplitClipboardText("a\tb\r\n\r\n"), (Lines{{"a", "b"}, {""}}));
    EXPECT_EQ(CClipboardOps::SplitClipboardText("a\tb\n\n"), (Lines{{"a", "b"}}));
    EXPECT_EQ(CClipboardOps::SplitClipboardText("a\t\n"), (Lines{{"a"}}));
    EXPECT_EQ(CClipboardOps::SplitClipboardText("a\t\t"), (Lines{{"a", ""}}));
    EXPECT_EQ(CClipboardOps::SplitClipboardText("a\rb"), (Lines{{"a"}, {"b"}}));
    // A double-byte character whose trail byte looks like a separator is
    // impossible in GBK; its bytes stay together.
    EXPECT_EQ(CClipboardOps::SplitClipboardText("\xC7\xBD\tx"), (Lines{{"\xC7\xBD", "x"}}));
}

// However a paste or a bulk edit ends, the sheet draws again; a question
// comes while it does not draw, the messages once it draws again.
TEST_F(CClipboardFixture, PasteAndBulkEditsDrawAgainHoweverTheyEnd)
{
    // Each redraw change with the questions and messages shown until then.
    struct CRedrawLog : CSheetObserver {
        explicit CRedrawLog(const CTestPrompt& prompt) : m_Prompt(prompt) {}
        void OnRedrawChanged(bool bRedraw) override
        {
            m_strLog += (bRedraw ? "on" : "off") + std::to_string(m_Prompt.m_Questions.size()) + std::to_string(m_Prompt.m_Messages.size()) + " ";
        }
        const CTestPrompt& m_Prompt;
        std::string m_strLog;
    } log(host.m_Prompt);
    host.m_Grid.SetObserver(&log);
    host.m_Grid.SetTextMatrix(34, 1, "old");
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "1=1.00");
    const struct {
        const char* m_pWhat;
        std::function<void()> m_Run;
        const char* m_pLog;
        std::size_t m_nMessages;
    } cases[] = {
        {"no text", [&] { host.Run(cmdid::EDIT_PASTE); }, "off00 on00 ", 1},
        {"empty text", [&] { PasteAt(1, 1, ""); }, "off00 on00 ", 0},
        {"too wide", [&] { PasteAt(1, 1, "1\t2\t3\t4\t5\t6\t7"); }, "off00 on00 ", 1},
        {"overwrite declined", [&] { PasteAt(34, 1, "new"); }, "off00 on10 ", 0},
        {"pasted", [&] { PasteAt(3, 1, "x"); }, "off00 on00 ", 0},
        {"no operator",
         [&] {
             host.Select(2, COL_FORMULA, 3, COL_FORMULA);
             host.m_Session.AppendText("x");
         },
         "off00 on00 ", 1},
        {"appended", [&] { host.m_Session.AppendText("*2"); }, "off00 on00 ", 0},
        {"removed", [&] { host.m_Session.RemoveText("*2"); }, "off00 on00 ", 0},
        {"minus", [&] { host.Run(cmdid::TOGGLE_MINUS); }, "off00 on00 ", 0},
    };
    for (const auto& c : cases) {
        host.m_Prompt.m_Questions.clear();
        host.m_Prompt.m_Messages.clear();
        log.m_strLog.clear();
        c.m_Run();
        EXPECT_EQ(log.m_strLog, c.m_pLog) << c.m_pWhat;
        EXPECT_EQ(host.m_Prompt.m_Messages.size(), c.m_nMessages) << c.m_pWhat;
        EXPECT_TRUE(host.m_Grid.Redraw()) << c.m_pWhat;
    }
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "-(1)=-1.00");
    host.m_Grid.SetObserver(nullptr);
}
