// Undo and redo: the history's steps replayed on the sheet. Rows come back
// or go again through the row commands, a summary item made on an inserted
// row is made again, and heights, colours, totals, unit lists and
// references follow the texts. Returns whether the sheet changed.
#pragma once

class CCalcGrid;
class CRowCommands;
class CSummaryItems;
class UndoHistory;
struct SUndoStep;

class CUndoCommands {
public:
    CUndoCommands(CCalcGrid& calc, UndoHistory& history, CSummaryItems& summary, CRowCommands& rows);

    // The newest step undone (bUndo) or the next one redone.
    bool Step(bool bUndo);

private:
    void Replay(SUndoStep& step, bool bUndo);
    void InsertRowsBack(int row, int count);

    CCalcGrid& m_Calc;
    UndoHistory& m_History;
    CSummaryItems& m_Summary;
    CRowCommands& m_Rows;
};
