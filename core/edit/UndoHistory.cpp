#include "core/edit/UndoHistory.h"

#include <algorithm>
#include <utility>

#include "core/sheet/SheetGrid.h"

UndoHistory::UndoHistory() = default;

void UndoHistory::ResetHistory()
{
    for (SUndoStep& step : m_Slots)
        step.Clear();
    m_nTop = -1;
    m_nRedo = 0;
}

SUndoStep* UndoHistory::NewStep(int kind, int r1, int c1, int r2, int c2)
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
    SUndoStep& step = m_Slots[m_nTop];
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
    SUndoStep* step = NewStep(kind, r1, c1, r2, c2);
    if (!step || kind == UNDO_INSERT_ROWS)
        return;
    std::size_t k = 0;
    for (int r = step->m_nRow1; r <= step->m_nRow2; ++r)
        for (int c = step->m_nCol1; c <= step->m_nCol2; ++c)
            step->m_Texts[k++] = grid.TextMatrix(r, c);
}

void UndoHistory::RecordCellEdit(int row, int col, const std::string& oldText)
{
    if (SUndoStep* step = NewStep(UNDO_CELL_EDIT, row, col, row, col))
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
    SUndoStep& step = m_Slots[m_nTop];
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

void UndoHistory::ExchangeTexts(SheetGrid& grid, SUndoStep& step)
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

SUndoStep* UndoHistory::StepToUndo()
{
    if (m_nTop < 0)
        return nullptr;
    ++m_nRedo;
    return &m_Slots[m_nTop--];
}

SUndoStep* UndoHistory::StepToRedo()
{
    if (m_nRedo == 0)
        return nullptr;
    --m_nRedo;
    if (m_nTop == MAX_STEPS - 1)
        return nullptr;
    return &m_Slots[++m_nTop];
}
