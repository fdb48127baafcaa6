#include "core/edit/RowCommands.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "core/edit/SummaryItems.h"
#include "core/edit/UndoHistory.h"
#include "core/sheet/CalcGrid.h"

CRowCommands::CRowCommands(CCalcGrid& calc, CSummaryItems& summary, UndoHistory& history)
    : m_Calc(calc), m_Summary(summary), m_History(history)
{
}

bool CRowCommands::InsertRows()
{
    const SRowsInserted inserted = m_Calc.InsertRows();
    if (!inserted.m_bDone)
        return false;
    // The step of an insertion holds empty texts: it may be taken after.
    m_History.RecordStep(m_Calc.Grid(), UNDO_INSERT_ROWS, inserted.m_nFirst, 1, inserted.m_nLast, SHEET_COLS - 1);
    return true;
}

bool CRowCommands::DeleteRows()
{
    std::lock_guard<std::recursive_mutex> lock(m_Calc.Mutex());
    SheetGrid& grid = m_Calc.Grid();
    int r1 = grid.Row();
    int r2 = grid.RowSel();
    if (std::abs(r2 - r1) >= grid.Rows() - 2)
        return false;  // every data row selected
    CRedrawOff redrawOff(grid);
    if (r1 > r2)
        std::swap(r1, r2);
    if (r1 < 1)
        r1 = 1;
    m_History.RecordStep(grid, UNDO_DELETE_ROWS, r1, 1, r2, SHEET_COLS - 1);
    int count = r2 - r1 + 1;
    // Up to the first heading: the calculation rows go together, the
    // heading's numbering is removed (which leaves the current cell).
    while (count > 0 && r1 < grid.Rows()) {
        const bool heading = !grid.TextMatrix(r1, COL_SEQ).empty();
        int run = 1;
        while (run < count && r1 + run < grid.Rows() && grid.TextMatrix(r1 + run, COL_SEQ).empty())
            ++run;
        if (heading) {
            grid.SetRow(r1);
            m_Summary.RemoveItemAt(r1);
            grid.RemoveRowsAt(r1, 1);
            --count;
            break;
        }
        grid.RemoveRowsAt(r1, run);
        count -= run;
    }
    // The rest in one piece: each later heading would only have renumbered
    // the items below it and moved the current cell where it already is.
    if (count > 0 && r1 < grid.Rows()) {
        count = std::min(count, grid.Rows() - r1);
        int headings = 0;
        for (int r = r1; r < r1 + count; ++r)
            if (!grid.TextMatrix(r, COL_SEQ).empty())
                ++headings;
        grid.RemoveRowsAt(r1, count);
        if (headings > 0)
            m_Summary.RenumberItemsFrom(r1, -headings);
    }
    // From the row above: when the deleted rows ended just above a heading,
    // that heading is now at r1 and the item that lost the rows lies above.
    m_Summary.RecomputeStretch(std::max(r1 - 1, 1), r1);
    m_Summary.RefreshItemList();
    m_Calc.RebuildRefTable();
    return true;
}
