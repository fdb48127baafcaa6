#include "core/edit/CurrentCell.h"

#include "core/edit/CellEditor.h"
#include "core/edit/SummaryItems.h"
#include "core/edit/UndoHistory.h"
#include "core/sheet/CalcGrid.h"

CCurrentCell::CCurrentCell(CCalcGrid& calc, CCellEditor& editor, UndoHistory& history, CSummaryItems& summary)
    : m_Calc(calc), m_Editor(editor), m_History(history), m_Summary(summary)
{
}

bool CCurrentCell::OpenEditor(const std::string& typed)
{
    if (!m_Calc.GrowIfNearEnd())
        return false;
    const SheetGrid& sheet = m_Calc.Grid();
    const int row = sheet.Row();
    const int col = sheet.Col();
    // Only the name cell of a summary row can be edited.
    if (col >= COL_SIZE && col <= COL_REF && CSummaryItems::IsSummaryRow(sheet, row))
        return false;
    m_Editor.Open(EditorOpenText(sheet.TextMatrix(row, col), col, typed));
    return true;
}

bool CCurrentCell::Commit(SCommitMode mode)
{
    const int row = m_Calc.Grid().Row();
    const int col = m_Calc.Grid().Col();
    bool changed = false;
    if (m_Editor.IsShown()) {
        const SCellCommit commit = m_Calc.CommitText(row, col, m_Editor.Text());
        if (!commit.m_bTaken)
            return false;
        m_Editor.Hide();
        changed = commit.m_bChanged;
        if (changed && mode.m_bRecord)
            m_History.RecordCellEdit(row, col, commit.m_strOldText);
    }
    // Leaving a cell refreshes its item even when nothing was typed.
    if (mode.m_bRefreshItem) {
        m_Summary.RefreshItemOf(row, col, changed);
        // Rows in other items may use the cell's value through its name.
        m_Summary.RefreshItemsOfRows(m_Calc.TakeRecalculatedUsers());
    } else if (changed && (col == COL_SIZE || col == COL_UNIT))
        m_Summary.NoteUnitListsBehind();
    return changed;
}

bool CCurrentCell::MoveTo(int row, int col, SCommitMode mode)
{
    SheetGrid& sheet = m_Calc.Grid();
    if (row == sheet.Row() && col == sheet.Col())
        return false;
    const bool changed = Commit(mode);
    sheet.SetRow(row);
    sheet.SetCol(col);
    return changed;
}

bool CCurrentCell::OpenAndCommit(SCommitMode mode)
{
    return OpenEditor(std::string()) && Commit(mode);
}
