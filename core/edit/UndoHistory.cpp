#include "core/edit/UndoHistory.h"

#include <algorithm>
#include <utility>

#include "core/edit/SheetEditHost.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/GbkText.h"
#include "core/sheet/SheetGrid.h"

void ColourFormulaCells(CSheetEditHost& host, int first, int last)
{
    SheetGrid& grid = host.Grid();
    first = std::max(first, 1);
    last = std::min(last, grid.Rows() - 1);
    for (int row = first; row <= last; ++row) {
        if (!grid.TextMatrix(row, COL_SEQ).empty())
            continue;
        const std::string& text = grid.TextMatrix(row, COL_FORMULA);
        bool message = false;
        for (const char* pMessage : calctext::CALC_MESSAGES)
            if (text.compare(0, std::char_traits<char>::length(pMessage), pMessage) == 0)
                message = true;
        const std::uint32_t colour = message ? host.ErrorColor() & 0xFFFFFF : 0;
        if (grid.BackColorAt(row, COL_FORMULA) != colour)
            grid.SetBackColorAt(row, COL_FORMULA, colour);
    }
}

UndoHistory::UndoHistory() = default;

void UndoHistory::ResetHistory()
{
    for (SStep& step : m_Slots)
        step.Clear();
    m_nTop = -1;
    m_nRedo = 0;
    m_bReplaying = false;
}

UndoHistory::SStep* UndoHistory::NewStep(int kind, int r1, int c1, int r2, int c2)
{
    if (m_bReplaying)
        return nullptr;
    m_nRedo = 0;
    if (m_nTop == MAX_STEPS - 1) {
        std::rotate(m_Slots, m_Slots + 1, m_Slots + MAX_STEPS);
        m_Slots[MAX_STEPS - 1].Clear();
    } else {
        ++m_nTop;
        for (int i = m_nTop; i < MAX_STEPS; ++i)
            m_Slots[i].Clear();
    }

    if (r2 < 0)
        r2 = r1;
    if (c2 < 0)
        c2 = c1;
    SStep& step = m_Slots[m_nTop];
    step.m_nKind = kind;
    step.m_nRow1 = std::min(r1, r2);
    step.m_nRow2 = std::max(r1, r2);
    step.m_nCol1 = std::min(c1, c2);
    step.m_nCol2 = std::max(c1, c2);
    const std::size_t rows = static_cast<std::size_t>(step.m_nRow2 - step.m_nRow1 + 1);
    const std::size_t cols = static_cast<std::size_t>(step.Width());
    step.m_Texts.assign(rows * cols, std::string());
    return &step;
}

void UndoHistory::RecordStep(const SheetGrid& grid, int kind, int r1, int c1, int r2, int c2)
{
    SStep* step = NewStep(kind, r1, c1, r2, c2);
    if (!step || kind == UNDO_INSERT_ROWS)
        return;
    std::size_t k = 0;
    for (int r = step->m_nRow1; r <= step->m_nRow2; ++r)
        for (int c = step->m_nCol1; c <= step->m_nCol2; ++c)
            step->m_Texts[k++] = grid.TextMatrix(r, c);
}

void UndoHistory::RecordCellEdit(int row, int col, const std::string& oldText)
{
    if (SStep* step = NewStep(UNDO_CELL_EDIT, row, col, row, col))
        step->m_Texts[0] = oldText;
}

void UndoHistory::NoteRowInserted(int r)
{
    // The insertion itself is the newest step, and the older steps can only
    // be replayed after it has been undone, when the sheet has its old rows
    // again: their ranges stay as recorded. Moving them down here would make
    // them exchange texts with the wrong rows once the insertion is undone.
    (void)r;
    m_nRedo = 0;
}

void UndoHistory::MarkTopAsItem()
{
    if (m_nTop >= 0 && m_Slots[m_nTop].m_nKind == UNDO_INSERT_ROWS)
        m_Slots[m_nTop].m_bItem = true;
}

void UndoHistory::WidenTopStep(const SheetGrid& grid, int row, int col, int first, int last)
{
    if (m_bReplaying || m_nTop < 0)
        return;
    SStep& step = m_Slots[m_nTop];
    if (step.m_nKind != UNDO_CELL_EDIT || step.m_nCol1 != col || step.m_nCol2 != col || row < step.m_nRow1 || row > step.m_nRow2)
        return;
    const int r1 = std::min(first, step.m_nRow1);
    const int r2 = std::max(last, step.m_nRow2);
    std::vector<std::string> texts(static_cast<std::size_t>(r2 - r1 + 1));
    for (int r = r1; r <= r2; ++r)
        texts[static_cast<std::size_t>(r - r1)] = r >= step.m_nRow1 && r <= step.m_nRow2
            ? std::move(step.m_Texts[static_cast<std::size_t>(r - step.m_nRow1)])
            : grid.TextMatrix(r, col);
    step.m_Texts = std::move(texts);
    step.m_nRow1 = r1;
    step.m_nRow2 = r2;
}

void UndoHistory::ExchangeTexts(SheetGrid& grid, SStep& step)
{
    std::size_t k = 0;
    for (int r = step.m_nRow1; r <= step.m_nRow2; ++r) {
        for (int c = step.m_nCol1; c <= step.m_nCol2; ++c, ++k) {
            std::string& stored = step.m_Texts[k];
            const std::string& current = grid.TextMatrix(r, c);
            if (current == stored)
                continue;
            std::string sheetText = current;
            grid.SetTextMatrix(r, c, stored);
            stored = std::move(sheetText);
        }
    }
}

void UndoHistory::InsertRowsBack(CSheetEditHost& host, int row, int count)
{
    // The grid inserts as many rows as are selected, and a deletion may have
    // left fewer rows below row than are to come back: the rows go in a few
    // rounds, each as large as the rows below allow (the rows below double
    // every round). Rows that belong at the very end are appended.
    SheetGrid& grid = host.Grid();
    while (count > 0) {
        if (row >= grid.Rows()) {
            grid.SetRows(grid.Rows() + count);
            break;
        }
        const int part = std::min(count, grid.Rows() - row);
        grid.SetRow(row);
        grid.SetRowSel(row + part - 1);
        const int before = grid.Rows();
        host.InsertRows();
        if (grid.Rows() == before)
            break;  // refused by the grid
        count -= part;
    }
}

void UndoHistory::Replay(CSheetEditHost& host, SStep& step, bool bUndo)
{
    SheetGrid& grid = host.Grid();
    m_bReplaying = true;
    host.SetReplaying(true);
    grid.SetRedraw(false);

    const bool bInsert = (step.m_nKind == UNDO_DELETE_ROWS && bUndo) || (step.m_nKind == UNDO_INSERT_ROWS && !bUndo);
    if (bInsert)
        InsertRowsBack(host, step.m_nRow1, step.m_nRow2 - step.m_nRow1 + 1);
    grid.SetRow(step.m_nRow1);
    grid.SetCol(step.m_nCol1);
    grid.SetRowSel(step.m_nRow2);
    grid.SetColSel(step.m_nCol2);

    switch (step.m_nKind) {
    case UNDO_DELETE_ROWS:
        ExchangeTexts(grid, step);
        if (!bUndo)
            host.DeleteRows();
        break;
    case UNDO_INSERT_ROWS:
        if (bUndo)
            host.DeleteRows();
        else if (step.m_bItem)
            host.Summary().ToggleSummary();  // the empty row becomes the item again
        break;
    default:
        ExchangeTexts(grid, step);
        break;
    }

    // The sheet changed: heights, totals and references follow the texts,
    // and the document counts as modified.
    const bool bRowsRemain = !(step.m_nKind == UNDO_INSERT_ROWS && bUndo) && !(step.m_nKind == UNDO_DELETE_ROWS && !bUndo);
    if (bRowsRemain) {
        const int last = std::min(step.m_nRow2, grid.Rows() - 1);
        for (int r = step.m_nRow1; r <= last; ++r)
            host.FitRowHeight(r);
        if (step.m_nCol1 <= COL_FORMULA && step.m_nCol2 >= COL_FORMULA)
            ColourFormulaCells(host, step.m_nRow1, last);
        host.Summary().RecomputeStretch(step.m_nRow1, last);
        host.Summary().RefreshUnitLists();
        host.RebuildReferences();
    }
    host.SetModified();

    host.SetReplaying(false);
    m_bReplaying = false;
    grid.SetRedraw(true);
}

void UndoHistory::UndoStep(CSheetEditHost& host)
{
    if (m_nTop < 0)
        return;
    ++m_nRedo;
    Replay(host, m_Slots[m_nTop], true);
    --m_nTop;
}

void UndoHistory::RedoStep(CSheetEditHost& host)
{
    if (m_nRedo == 0)
        return;
    --m_nRedo;
    if (m_nTop == MAX_STEPS - 1)
        return;
    ++m_nTop;
    Replay(host, m_Slots[m_nTop], false);
}
