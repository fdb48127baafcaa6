#include "core/edit/UndoCommands.h"

#include <algorithm>

#include "core/edit/RowCommands.h"
#include "core/edit/SummaryItems.h"
#include "core/edit/UndoHistory.h"
#include "core/sheet/CalcGrid.h"
#include "core/sheet/CellText.h"

CUndoCommands::CUndoCommands(CCalcGrid& calc, UndoHistory& history, CSummaryItems& summary, CRowCommands& rows)
    : m_Calc(calc), m_History(history), m_Summary(summary), m_Rows(rows)
{
}

bool CUndoCommands::Step(bool bUndo)
{
    SUndoStep* step = bUndo ? m_History.StepToUndo() : m_History.StepToRedo();
    if (!step)
        return false;
    Replay(*step, bUndo);
    return true;
}

void CUndoCommands::InsertRowsBack(int row, int count)
{
    // The grid inserts as many rows as are selected, and a deletion may have
    // left fewer rows below row than are to come back: the rows go in a few
    // rounds, each as large as the rows below allow (the rows below double
    // every round). Rows that belong at the very end are appended.
    SheetGrid& grid = m_Calc.Grid();
    while (count > 0) {
        if (row >= grid.Rows()) {
            grid.SetRows(grid.Rows() + count);
            break;
        }
        const int part = std::min(count, grid.Rows() - row);
        grid.SetRow(row);
        grid.SetRowSel(row + part - 1);
        if (!m_Rows.InsertRows())
            break;  // refused by the grid
        count -= part;
    }
}

void CUndoCommands::Replay(SUndoStep& step, bool bUndo)
{
    SheetGrid& grid = m_Calc.Grid();
    UndoHistory::CReplay replay(m_History);
    CRedrawOff redrawOff(grid);

    const bool bInsert = (step.m_nKind == UNDO_DELETE_ROWS && bUndo) || (step.m_nKind == UNDO_INSERT_ROWS && !bUndo);
    if (bInsert)
        InsertRowsBack(step.m_nRow1, step.m_nRow2 - step.m_nRow1 + 1);
    grid.SetRow(step.m_nRow1);
    grid.SetCol(step.m_nCol1);
    grid.SetRowSel(step.m_nRow2);
    grid.SetColSel(step.m_nCol2);

    switch (step.m_nKind) {
    case UNDO_DELETE_ROWS:
        UndoHistory::ExchangeTexts(grid, step);
        if (!bUndo)
            m_Rows.DeleteRows();
        break;
    case UNDO_INSERT_ROWS:
        if (bUndo)
            m_Rows.DeleteRows();
        else if (step.m_bItem)
            m_Summary.ToggleSummary();  // the empty row becomes the item again
        break;
    default:
        UndoHistory::ExchangeTexts(grid, step);
        break;
    }

    // Heights, totals and references follow the texts that came back.
    const bool bRowsRemain = !(step.m_nKind == UNDO_INSERT_ROWS && bUndo) && !(step.m_nKind == UNDO_DELETE_ROWS && !bUndo);
    if (bRowsRemain) {
        const int last = std::min(step.m_nRow2, grid.Rows() - 1);
        for (int r = step.m_nRow1; r <= last; ++r)
            m_Calc.FitRowHeight(r);
        if (step.m_nCol1 <= COL_FORMULA && step.m_nCol2 >= COL_FORMULA)
            m_Calc.ColourFormulaCells(step.m_nRow1, last);
        m_Summary.RecomputeStretch(step.m_nRow1, last);
        m_Calc.RebuildRefTable();
        // A named row whose value came back carries it on to the rows using
        // it, as its commit did; left alone they would keep the value the
        // step took away.
        if (step.m_nCol2 >= COL_FORMULA)
            for (int r = step.m_nRow1; r <= last; ++r)
                if (grid.TextMatrix(r, COL_SEQ).empty() && !grid.TextMatrix(r, COL_REF).empty())
                    m_Calc.PropagateValue(r, celltext::ValueOrZero(grid.TextMatrix(r, COL_FORMULA)));
        m_Summary.RefreshItemsOfRows(m_Calc.TakeRecalculatedUsers());
        m_Summary.RefreshUnitLists();
    }
}
