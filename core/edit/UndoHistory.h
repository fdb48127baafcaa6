// The undo history: the last 15 editing actions that changed cell texts or
// rows. Each step keeps the texts of the rectangle its action was about to
// change; undo and redo exchange those texts with the sheet's, so one store
// serves both directions. A step is kept whole whatever its size.
//
// The history only keeps the steps: the undo commands replay them on the
// sheet, and nothing is recorded while one replays.
#pragma once

#include <string>
#include <vector>

class SheetGrid;

enum EUndoKind {
    UNDO_EMPTY = -1,
    UNDO_ROW_INSERTED = 1,  // not a step: summary numbering inserted a row
    UNDO_CELL_EDIT = 2,
    UNDO_CUT = 3,
    UNDO_PASTE = 4,
    UNDO_CLEAR = 5,
    UNDO_DELETE_ROWS = 6,
    UNDO_INSERT_ROWS = 7
};

struct SUndoStep {
    int m_nKind = UNDO_EMPTY;
    int m_nRow1 = -1, m_nCol1 = -1, m_nRow2 = -1, m_nCol2 = -1;
    bool m_bItem = false;  // an insertion that made a summary item
    // Row-major, (m_nRow2 - m_nRow1 + 1) x (m_nCol2 - m_nCol1 + 1).
    std::vector<std::string> m_Texts;

    int Width() const { return m_nCol2 - m_nCol1 + 1; }
    void Clear() { *this = SUndoStep(); }
};

class UndoHistory {
public:
    static const int MAX_STEPS = 15;

    UndoHistory();

    // Stores the texts of rows r1 .. r2, columns c1 .. c2 (either order) as
    // a new step; an insertion stores empty texts. Discards what could have
    // been redone; drops the oldest step when 15 are kept. Nothing is
    // recorded while replaying.
    void RecordStep(const SheetGrid& grid, int kind, int r1, int c1, int r2, int c2);
    // A commit changed cell (row, col), whose text was oldText.
    void RecordCellEdit(int row, int col, const std::string& oldText);
    // Summary numbering inserted a row at r (recorded as the newest step):
    // nothing can be redone any more.
    void NoteRowInserted(int r);

    // The newest step is the row a new summary item was made on: redoing it
    // makes the item again (number, colour, total), not a plain row.
    void MarkTopAsItem();
    // A commit of cell (row, col), the newest step, carried on to rows
    // first .. last of the same column (a unit copied to its category):
    // the step widens to hold their texts as they are now, so that undo
    // takes the copies back with the edit.
    void WidenTopStep(const SheetGrid& grid, int row, int col, int first, int last);

    void ResetHistory();

    bool CanUndo() const { return m_nTop >= 0; }
    bool CanRedo() const { return m_nRedo > 0; }
    bool IsReplaying() const { return m_bReplaying; }

    // The step an undo (or a redo) replays, moved across the top of the
    // history; nullptr when there is none. The caller replays it while a
    // CReplay of this history lives.
    SUndoStep* StepToUndo();
    SUndoStep* StepToRedo();
    // The step's texts and the sheet's exchanged.
    static void ExchangeTexts(SheetGrid& grid, SUndoStep& step);

    // While it lives, the history records nothing.
    class CReplay {
    public:
        explicit CReplay(UndoHistory& history) : m_History(history) { m_History.m_bReplaying = true; }
        ~CReplay() { m_History.m_bReplaying = false; }
        CReplay(const CReplay&) = delete;
        CReplay& operator=(const CReplay&) = delete;

    private:
        UndoHistory& m_History;
    };

    // Inspection (tests, diagnostics): the step in slot i, 0 the oldest.
    int Top() const { return m_nTop; }
    int RedoCount() const { return m_nRedo; }
    int KindAt(int slot) const { return m_Slots[slot].m_nKind; }

private:
    // A new step in the top slot, its texts sized and empty; nullptr while
    // replaying.
    SUndoStep* NewStep(int kind, int r1, int c1, int r2, int c2);

    SUndoStep m_Slots[MAX_STEPS];
    int m_nTop = -1;
    int m_nRedo = 0;
    bool m_bReplaying = false;
};
