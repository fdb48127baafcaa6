// The current cell with the in-cell editor open on it: opening the editor,
// committing its text and moving on. A commit stores the text through the
// calculation grid, records the change as an undo step of its own and
// refreshes the totals and units of the cell's item, as its mode says.
// Every call returns whether the sheet changed.
#pragma once

#include <string>

class CCalcGrid;
class CCellEditor;
class CSummaryItems;
class UndoHistory;

struct SCommitMode {
    // A change is an undo step of its own (off inside a command that
    // records its own step, or while a step replays).
    bool m_bRecord = true;
    // The item of the cell is refreshed (off while many cells are committed
    // in a row: the caller then refreshes each item once).
    bool m_bRefreshItem = true;
};

class CCurrentCell {
public:
    CCurrentCell(CCalcGrid& calc, CCellEditor& editor, UndoHistory& history, CSummaryItems& summary);

    // Opens the editor on the current cell with its text (typed: a
    // character, or empty for Enter and Backspace appended). False when
    // the cell does not take edits.
    bool OpenEditor(const std::string& typed);
    // The open editor's text stored into the current cell, then the item
    // refreshed. A cell that does not take the text keeps the editor open.
    bool Commit(SCommitMode mode = SCommitMode());
    // (row, col) made current, the cell left committed first. Nothing
    // happens when it already is current.
    bool MoveTo(int row, int col, SCommitMode mode = SCommitMode());
    // The current cell's text passed through the editor once: re-formatted
    // and re-evaluated.
    bool OpenAndCommit(SCommitMode mode = SCommitMode());

private:
    CCalcGrid& m_Calc;
    CCellEditor& m_Editor;
    UndoHistory& m_History;
    CSummaryItems& m_Summary;
};
