// Deleting and cutting ranges that hold many headings: the one pass over the
// rows ends exactly as removing the headings one by one, as the row
// operations always did it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CellText.h"
#include "tests/TestPrompt.h"

namespace {

struct SSide {
    CMemorySettingsStore m_Store;
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};

    SSide(int rows, int every)
    {
        m_State.SetPrompt(&m_Prompt);
        m_Session.Start();
        SheetGrid& grid = Grid();
        grid.SetRows(rows);
        int number = 0;
        for (int r = 1; r < rows - 3; ++r) {
            if (r % every == 2) {
                grid.SetTextMatrix(r, COL_SEQ, std::to_string(++number));
                grid.SetTextMatrix(r, COL_POSITION, "item" + std::to_string(number));
                for (int c = 1; c < SHEET_COLS; ++c)
                    grid.SetBackColorAt(r, c, 16711935);
                continue;
            }
            grid.SetTextMatrix(r, COL_SIZE, "C" + std::to_string(r % 3 + 20));
            grid.SetTextMatrix(r, COL_FORMULA, std::to_string(r) + "*2=" + std::to_string(2 * r) + ".00");
            grid.SetTextMatrix(r, COL_UNIT, r % 2 ? "m3" : "m2");
            if (r % 4 == 0)
                grid.SetTextMatrix(r, COL_REF, "n" + std::to_string(r));
        }
        m_Session.Summary().RecomputeStretch(1, rows - 1);
        m_Session.Summary().RefreshUnitLists();
        m_Session.Summary().RefreshItemList();
        m_Session.CalcGrid().RebuildRefTable();
    }
    SheetGrid& Grid() { return m_Session.CalcGrid().Grid(); }
    void Select(int r1, int c1, int r2, int c2)
    {
        m_Session.Click(r1, c1);
        m_Session.ShiftClick(r2, c2);
    }

    // The row deletion as it went before: every heading on its own.
    void DeleteOneByOne(int r1, int r2)
    {
        SheetGrid& grid = Grid();
        CSummaryItems& summary = m_Session.Summary();
        int count = r2 - r1 + 1;
        while (count > 0 && r1 < grid.Rows()) {
            if (!grid.TextMatrix(r1, COL_SEQ).empty()) {
                grid.SetRow(r1);
                summary.RemoveItemAt(r1);
                grid.RemoveRowsAt(r1, 1);
                --count;
                continue;
            }
            int run = 1;
            while (run < count && r1 + run < grid.Rows() && grid.TextMatrix(r1 + run, COL_SEQ).empty())
                ++run;
            grid.RemoveRowsAt(r1, run);
            count -= run;
        }
        summary.RecomputeStretch(std::max(r1 - 1, 1), r1);
        summary.RefreshItemList();
        m_Session.CalcGrid().RebuildRefTable();
    }
    // The cut as it went before, without the clipboard text.
    void CutOneByOne(int r1, int c1, int r2, int c2)
    {
        SheetGrid& grid = Grid();
        CSummaryItems& summary = m_Session.Summary();
        for (int r = r1; r <= r2; ++r) {
            const bool heading = CSummaryItems::IsSummaryRow(grid, r);
            for (int c = c1; c <= c2; ++c)
                grid.SetTextMatrix(r, c, std::string());
            if (heading)
                summary.RemoveItemAt(r);
        }
        summary.RecomputeStretch(r1, r2);
        summary.RefreshUnitLists();
        for (int r = r1; r <= r2; ++r)
            m_Session.CalcGrid().FitRowHeight(r);
        m_Session.CalcGrid().RebuildRefTable();
    }
};

void ExpectSameSheets(SSide& a, SSide& b, const std::string& step)
{
    SheetGrid& x = a.Grid();
    SheetGrid& y = b.Grid();
    ASSERT_EQ(x.Rows(), y.Rows()) << step;
    for (int r = 1; r < x.Rows(); ++r) {
        ASSERT_EQ(x.RowHeight(r), y.RowHeight(r)) << step << " row " << r;
        for (int c = 0; c < SHEET_COLS; ++c) {
            ASSERT_EQ(x.TextMatrix(r, c), y.TextMatrix(r, c)) << step << " at " << r << "," << c;
            ASSERT_EQ(x.BackColorAt(r, c), y.BackColorAt(r, c)) << step << " at " << r << "," << c;
            ASSERT_EQ(x.AlignmentAt(r, c), y.AlignmentAt(r, c)) << step << " at " << r << "," << c;
        }
    }
    EXPECT_EQ(x.Row(), y.Row()) << step;
    EXPECT_EQ(x.Col(), y.Col()) << step;
    EXPECT_EQ(x.RowSel(), y.RowSel()) << step;
    EXPECT_EQ(x.ColSel(), y.ColSel()) << step;
    EXPECT_EQ(a.m_Session.Summary().ItemEntries(), b.m_Session.Summary().ItemEntries()) << step;
    EXPECT_EQ(a.m_Session.Summary().SelectedItem(), b.m_Session.Summary().SelectedItem()) << step;
    ASSERT_EQ(a.m_State.RefTable().size(), b.m_State.RefTable().size()) << step;
    for (std::size_t i = 0; i < a.m_State.RefTable().size(); ++i)
        EXPECT_EQ(a.m_State.RefTable()[i].m_strRow, b.m_State.RefTable()[i].m_strRow) << step;
}

// first row, last row (the corner clicked first, then the shift-clicked one)
const int RANGES[][2] = {{3, 40}, {2, 2}, {40, 3}, {1, 17}, {5, 95}, {12, 13}, {30, 119}};

TEST(ManyHeadings, DeletingEndsAsRemovingThemOneByOne)
{
    for (const auto& range : RANGES)
        for (int every : {3, 5, 20}) {
            SSide fast(130, every), plain(130, every);
            fast.Select(range[0], COL_FORMULA, range[1], COL_UNIT);
            fast.m_Session.RunCommand(cmdid::DELETE_ROWS);
            plain.Select(range[0], COL_FORMULA, range[1], COL_UNIT);
            plain.DeleteOneByOne(std::min(range[0], range[1]), std::max(range[0], range[1]));
            ASSERT_EQ(fast.Grid().Rows(), 130 - std::abs(range[1] - range[0]) - 1);
            ExpectSameSheets(fast, plain, "delete " + std::to_string(range[0]) + ".." + std::to_string(range[1]) + " every " + std::to_string(every));
            if (HasFatalFailure())
                return;
        }
}

TEST(ManyHeadings, CuttingEndsAsRemovingThemOneByOne)
{
    for (const auto& range : RANGES)
        for (int every : {3, 5, 20})
            for (int c1 : {COL_POSITION, COL_FORMULA}) {
                SSide fast(130, every), plain(130, every);
                fast.Select(range[0], c1, range[1], COL_REF);
                fast.m_Session.RunCommand(cmdid::EDIT_CUT);
                plain.Select(range[0], c1, range[1], COL_REF);
                plain.CutOneByOne(std::min(range[0], range[1]), c1, std::max(range[0], range[1]), COL_REF);
                ASSERT_EQ(fast.Grid().TextMatrix(std::max(range[0], range[1]), COL_REF), "");
                ExpectSameSheets(fast, plain, "cut " + std::to_string(range[0]) + ".." + std::to_string(range[1]) + " every " + std::to_string(every));
                if (HasFatalFailure())
                    return;
            }
}

}  // namespace
